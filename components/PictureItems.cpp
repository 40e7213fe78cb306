#include "PictureItems.h"

#include <array>

#include "ResourcesFolder.h"

namespace {
enum class See { Opaque, WhiteIsTransparent };

struct PictureItem {
    const char* fileName;
    See see;
    PicturePtr pic;  // empty until loaded; a miss leaves it empty so the next call looks again
};

// In the order the items are declared.
std::array<PictureItem, 13>& Items() {
    static std::array<PictureItem, 13> items{{
        {"QuillmoorPict.png", See::Opaque, nullptr},
        {"TargetSystemPict.png", See::Opaque, nullptr},
        {"IconPict.png", See::Opaque, nullptr},
        {"DigitPict.png", See::Opaque, nullptr},
        {"RaijinPict.png", See::WhiteIsTransparent, nullptr},
        {"TargetsPict.png", See::WhiteIsTransparent, nullptr},
        {"Label0Pict.png", See::Opaque, nullptr},
        {"Label1Pict.png", See::Opaque, nullptr},
        {"Label2Pict.png", See::Opaque, nullptr},
        {"Label3Pict.png", See::Opaque, nullptr},
        {"MessagePict.png", See::WhiteIsTransparent, nullptr},
        {"FortuneTargetsPict.png", See::WhiteIsTransparent, nullptr},
        {"FortuneResultPict.png", See::Opaque, nullptr},
    }};
    return items;
}

PicturePtr Load(std::size_t index) {
    PictureItem& item = Items()[index];
    if (item.pic) {
        return item.pic;
    }
    const auto folder = ResourcesFolder();
    if (!folder) {
        return nullptr;
    }
    item.pic = Picture::Open(*folder + "/" + item.fileName);
    if (item.pic && item.see == See::WhiteIsTransparent) {
        item.pic->Transparent = 1;
    }
    return item.pic;
}
}  // namespace

PicturePtr QuillmoorPict() {
    return Load(0);
}
PicturePtr TargetSystemPict() {
    return Load(1);
}
PicturePtr IconPict() {
    return Load(2);
}
PicturePtr DigitPict() {
    return Load(3);
}
PicturePtr RaijinPict() {
    return Load(4);
}
PicturePtr TargetsPict() {
    return Load(5);
}
PicturePtr Label0Pict() {
    return Load(6);
}
PicturePtr Label1Pict() {
    return Load(7);
}
PicturePtr Label2Pict() {
    return Load(8);
}
PicturePtr Label3Pict() {
    return Load(9);
}
PicturePtr MessagePict() {
    return Load(10);
}
PicturePtr FortuneTargetsPict() {
    return Load(11);
}
PicturePtr FortuneResultPict() {
    return Load(12);
}

void ReleasePictureItems() {
    for (PictureItem& item : Items()) {
        item.pic.reset();
    }
}
