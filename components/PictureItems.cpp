#include "PictureItems.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "RegularFile.h"
#include "ResourcesFolder.h"

namespace {
enum class See { Opaque, WhiteIsTransparent };

struct PictureItem {
    const char* fileName;
    See see;
    PicturePtr pic;  // empty until loaded; a miss leaves it empty so the next call looks again
    // The file as it was when it failed to load: not read again (up to 32 MiB, every frame)
    // until it changes.
    std::optional<FileStamp> failed;
};

// In the order the items are declared.
std::array<PictureItem, 13>& Items() {
    static std::array<PictureItem, 13> items{{
        {"QuillmoorPict.png", See::Opaque, nullptr, std::nullopt},
        {"TargetSystemPict.png", See::Opaque, nullptr, std::nullopt},
        {"IconPict.png", See::Opaque, nullptr, std::nullopt},
        {"DigitPict.png", See::Opaque, nullptr, std::nullopt},
        {"RaijinPict.png", See::WhiteIsTransparent, nullptr, std::nullopt},
        {"TargetsPict.png", See::WhiteIsTransparent, nullptr, std::nullopt},
        {"Label0Pict.png", See::Opaque, nullptr, std::nullopt},
        {"Label1Pict.png", See::Opaque, nullptr, std::nullopt},
        {"Label2Pict.png", See::Opaque, nullptr, std::nullopt},
        {"Label3Pict.png", See::Opaque, nullptr, std::nullopt},
        {"MessagePict.png", See::WhiteIsTransparent, nullptr, std::nullopt},
        {"FortuneTargetsPict.png", See::WhiteIsTransparent, nullptr, std::nullopt},
        {"FortuneResultPict.png", See::Opaque, nullptr, std::nullopt},
    }};
    return items;
}

// A missing file is the usual way to leave a picture out and goes unmentioned; a file that is
// there but can't be used is told once, until it changes.
PicturePtr TryLoad(PictureItem& item, const std::string& path) {
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp || stamp == item.failed) {
        return nullptr;
    }
    PicturePtr pic = Picture::Open(path);
    if (!pic) {
        item.failed = stamp;
        std::fprintf(stderr, "tembrolo: %s is no picture the game can read; drawing without it\n",
                     path.c_str());
        return nullptr;
    }
    if (item.see == See::WhiteIsTransparent) {
        pic->Transparent = 1;
    }
    return pic;
}

PicturePtr Load(std::size_t index) {
    PictureItem& item = Items()[index];
    if (!item.pic) {
        if (const auto folder = ResourcesFolder()) {
            item.pic = TryLoad(item, *folder + "/" + item.fileName);
        }
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
        item.failed.reset();
    }
}
