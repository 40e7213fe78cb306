#include "SoundItems.h"

#include <array>

#include "ResourcesFolder.h"

namespace {
struct SoundItem {
    const char* fileName;
    bool loaded;  // looked for already
    SoundPtr permaSound;
};

// In the order the items are declared.
std::array<SoundItem, 5>& Items() {
    static std::array<SoundItem, 5> items{{
        {"SilenceSnd.wav", false, nullptr},
        {"SoundVolSnd.wav", false, nullptr},
        {"LightningSnd.wav", false, nullptr},
        {"OpenSnd.wav", false, nullptr},
        {"EndSnd.wav", false, nullptr},
    }};
    return items;
}

SoundPtr Load(std::size_t index) {
    SoundItem& item = Items()[index];
    if (!item.loaded) {
        item.loaded = true;
        if (const auto folder = ResourcesFolder()) {
            item.permaSound = Sound::Open(*folder + "/" + item.fileName);
        }
    }
    return item.permaSound;
}
}  // namespace

SoundPtr SilenceSnd() {
    return Load(0);
}
SoundPtr SoundVolSnd() {
    return Load(1);
}
SoundPtr LightningSnd() {
    return Load(2);
}
SoundPtr OpenSnd() {
    return Load(3);
}
SoundPtr EndSnd() {
    return Load(4);
}

void ReleaseSoundItems() {
    for (SoundItem& item : Items()) {
        item.permaSound.reset();
    }
}

void ResetSoundItems() {
    ReleaseSoundItems();
    for (SoundItem& item : Items()) {
        item.loaded = false;
    }
}
