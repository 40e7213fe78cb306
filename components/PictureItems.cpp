#include "PictureItems.h"

#include "ResourcesFolder.h"

namespace {
enum class See { Opaque, WhiteIsTransparent };

// One cached slot per item; a miss leaves the slot empty so the next call looks again.
PicturePtr Load(PicturePtr& pic, const char* fileName, See see) {
    if (pic) {
        return pic;
    }
    const auto folder = ResourcesFolder();
    if (!folder) {
        return nullptr;
    }
    pic = Picture::Open(*folder + "/" + fileName);
    if (pic && see == See::WhiteIsTransparent) {
        pic->Transparent = 1;
    }
    return pic;
}

}  // namespace

PicturePtr QuillmoorPict() {
    static PicturePtr pic;
    return Load(pic, "QuillmoorPict.png", See::Opaque);
}

PicturePtr TargetSystemPict() {
    static PicturePtr pic;
    return Load(pic, "TargetSystemPict.png", See::Opaque);
}

PicturePtr IconPict() {
    static PicturePtr pic;
    return Load(pic, "IconPict.png", See::Opaque);
}

PicturePtr DigitPict() {
    static PicturePtr pic;
    return Load(pic, "DigitPict.png", See::Opaque);
}

PicturePtr RaijinPict() {
    static PicturePtr pic;
    return Load(pic, "RaijinPict.png", See::WhiteIsTransparent);
}

PicturePtr TargetsPict() {
    static PicturePtr pic;
    return Load(pic, "TargetsPict.png", See::WhiteIsTransparent);
}

PicturePtr Label0Pict() {
    static PicturePtr pic;
    return Load(pic, "Label0Pict.png", See::Opaque);
}

PicturePtr Label1Pict() {
    static PicturePtr pic;
    return Load(pic, "Label1Pict.png", See::Opaque);
}

PicturePtr Label2Pict() {
    static PicturePtr pic;
    return Load(pic, "Label2Pict.png", See::Opaque);
}

PicturePtr Label3Pict() {
    static PicturePtr pic;
    return Load(pic, "Label3Pict.png", See::Opaque);
}

PicturePtr MessagePict() {
    static PicturePtr pic;
    return Load(pic, "MessagePict.png", See::WhiteIsTransparent);
}

PicturePtr FortuneTargetsPict() {
    static PicturePtr pic;
    return Load(pic, "FortuneTargetsPict.png", See::WhiteIsTransparent);
}

PicturePtr FortuneResultPict() {
    static PicturePtr pic;
    return Load(pic, "FortuneResultPict.png", See::Opaque);
}
