#include "SoundItems.h"

#include "ResourcesFolder.h"

namespace {
struct SoundItem {
    const char* fileName;
    bool loaded = false;
    SoundPtr permaSound;
};

SoundItem& Item(int index) {
    static SoundItem items[] = {{"SilenceSnd.wav", false, nullptr},
                                {"SoundVolSnd.wav", false, nullptr},
                                {"LightningSnd.wav", false, nullptr},
                                {"OpenSnd.wav", false, nullptr},
                                {"EndSnd.wav", false, nullptr}};
    return items[index];
}

SoundPtr Load(int index) {
    SoundItem& item = Item(index);
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
    for (int i = 0; i < 5; ++i) {
        Item(i).permaSound.reset();
    }
}

void ResetSoundItems() {
    ReleaseSoundItems();
    for (int i = 0; i < 5; ++i) {
        Item(i).loaded = false;
    }
}
