#include "Sound.h"

#include <utility>

namespace {
Sound::PlayObserver& Observer() {
    static Sound::PlayObserver observer;
    return observer;
}
}  // namespace

std::shared_ptr<Sound> Sound::Open(const std::string& /*path*/) {
    return nullptr;
}

Sound::Sound(std::string name) : name_(std::move(name)) {}
Sound::~Sound() = default;

void Sound::Play() {
    if (Observer()) {
        Observer()(*this, Volume);
    }
}

void Sound::SetPlayObserver(PlayObserver observer) {
    Observer() = std::move(observer);
}
