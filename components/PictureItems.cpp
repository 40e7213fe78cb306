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
    // The file as it was when it was told to be unusable: told once, until it changes.
    std::optional<FileStamp> told;
    // The file as it was when it was looked at whole and was no picture: not read again (up to
    // 32 MiB, every frame) until it changes. One that could not be read (its permissions, no
    // descriptor free) is tried at every call, as nothing in it need change to make it readable.
    std::optional<FileStamp> noPicture;
};

// In the order the items are declared.
std::array<PictureItem, 13>& Items() {
    static std::array<PictureItem, 13> items{{
        {"QuillmoorPict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"TargetSystemPict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"IconPict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"DigitPict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"RaijinPict.png", See::WhiteIsTransparent, nullptr, std::nullopt, std::nullopt},
        {"TargetsPict.png", See::WhiteIsTransparent, nullptr, std::nullopt, std::nullopt},
        {"Label0Pict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"Label1Pict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"Label2Pict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"Label3Pict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
        {"MessagePict.png", See::WhiteIsTransparent, nullptr, std::nullopt, std::nullopt},
        {"FortuneTargetsPict.png", See::WhiteIsTransparent, nullptr, std::nullopt, std::nullopt},
        {"FortuneResultPict.png", See::Opaque, nullptr, std::nullopt, std::nullopt},
    }};
    return items;
}

void TellUnusable(PictureItem& item, const FileStamp& stamp, const std::string& path) {
    if (stamp != item.told) {
        std::fprintf(stderr, "tembrolo: %s is no picture the game can read; drawing without it\n",
                     path.c_str());
        item.told = stamp;
    }
}

// A missing file is the usual way to leave a picture out and goes unmentioned; a file that is
// there but can't be used is told once, until it changes.
PicturePtr TryLoad(PictureItem& item, const std::string& path) {
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp || stamp == item.noPicture) {
        return nullptr;
    }
    // A file too long to be a picture of ours is judged by its size, unread.
    const bool tooLong = stamp->size > Picture::kMaxFileBytes;
    const std::optional<std::string> bytes =
        tooLong ? std::nullopt : ReadRegularFile(path, Picture::kMaxFileBytes);
    PicturePtr pic = bytes ? Picture::FromPng(*bytes) : nullptr;
    if (!pic) {
        TellUnusable(item, *stamp, path);
        if (tooLong || bytes) {
            item.noPicture = stamp;
        }
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
        item.told.reset();
        item.noPicture.reset();
    }
}
