#include "SoundPlayer.h"

#include "Microseconds.h"
#include "RuntimeBackgroundTask.h"

namespace {
// Volume per step, even steps to the ear from loudest (0) to softest (8).
constexpr std::array<std::int32_t, 9> kSoundVolumeTable = {100, 70, 50, 35, 25, 17, 12, 8, 6};
constexpr const char* kSettingCodes = "ABCDEFGHI";
constexpr std::int32_t kMicrosecondsPerInterval = 100000;
// Priority bands of priority mode: above 6 plays, below 4 is dropped, between waits.
constexpr std::int32_t kPlayAbove = 6;
constexpr std::int32_t kDropBelow = 4;
}  // namespace

SoundPlayer::SoundPlayer() = default;

void SoundPlayer::Play(const SoundPtr& sound) {
    if (!SoundEnable || !sound) {
        return;
    }
    sound->Volume = SoundVolume;
    sound->Play();
    LastPlayTime = Microseconds();
}

// Sound off lets the audio device go (after what still plays); the next Play opens it again.
void SoundPlayer::SetEnable(bool enable) {
    SoundEnable = enable;
    SoundVolume = enable ? 100 : 0;
    SoundVolumeIndex = enable ? 0 : kDisabledIndex;
    if (!enable) {
        Sound::ReleaseAudio();
    }
}

// Nothing calls it; with no system beep of our own it stays silent.
void SoundPlayer::Beep() {}

void SoundPlayer::SetVolume(std::int32_t index) {
    if (index >= 0 && index < static_cast<std::int32_t>(kSoundVolumeTable.size())) {
        SoundEnable = true;
        SoundVolumeIndex = index;
        SoundVolume = kSoundVolumeTable[index];
    } else {
        SoundEnable = false;
        SoundVolume = 0;
        SoundVolumeIndex = kMutedIndex;
        Sound::ReleaseAudio();
    }
}

std::string SoundPlayer::SaveData() const {
    if (SoundVolumeIndex >= 0 && SoundVolumeIndex < 9) {
        return std::string(1, kSettingCodes[SoundVolumeIndex]);
    }
    return "0";
}

void SoundPlayer::RestoreData(const std::string& code) {
    for (std::int32_t i = 0; i < 9; ++i) {
        if (code == std::string(1, kSettingCodes[i])) {
            SetVolume(i);
            return;
        }
    }
    SetVolume(code == "0" ? kMutedIndex : 0);
}

void SoundPlayer::PushQueue(const SoundPtr& sound, std::int32_t priority) {
    if (!sound || priority <= 0 || SoundQueueBound >= kQueueSize - 1) {
        return;
    }
    // Walk down from the end, moving lower priorities up one slot; equal priorities stay ahead.
    std::int32_t slot = SoundQueueBound + 1;
    for (std::int32_t i = SoundQueueBound; i >= 0 && PriorityQueue[i] < priority; --i) {
        SoundQueue[i + 1] = std::move(SoundQueue[i]);
        PriorityQueue[i + 1] = PriorityQueue[i];
        slot = i;
        RuntimeBackgroundTask();
    }
    SoundQueue[slot] = sound;
    PriorityQueue[slot] = priority;
    ++SoundQueueBound;
}

void SoundPlayer::PlayQueue() {
    if (SoundQueueBound < 0) {
        const double limit =
            static_cast<double>(std::int64_t{SacrificeInterval} * kMicrosecondsPerInterval);
        if (SacrificeSound && limit < Microseconds() - LastPlayTime) {
            Play(SacrificeSound);
        }
        return;
    }
    Play(SoundQueue[0]);
    ClearEntry(0);
    if (SoundQueueBound == 0) {
        SoundQueueBound = -1;
    } else if (PriorityMode) {
        PlayRestByPriority();
    } else {
        PlayRest();
    }
}

void SoundPlayer::PlayRest() {
    for (std::int32_t i = 1; i <= SoundQueueBound; ++i) {
        Play(SoundQueue[i]);
        ClearEntry(i);
        RuntimeBackgroundTask();
    }
    SoundQueueBound = -1;
}

void SoundPlayer::PlayRestByPriority() {
    std::int32_t kept = 0;
    for (std::int32_t i = 1; i <= SoundQueueBound; ++i) {
        if (PriorityQueue[i] > kPlayAbove) {
            Play(SoundQueue[i]);
            ClearEntry(i);
        } else if (PriorityQueue[i] < kDropBelow) {
            ClearEntry(i);
        } else {
            ++kept;
        }
        RuntimeBackgroundTask();
    }
    if (kept == 0) {
        SoundQueueBound = -1;
        return;
    }
    // The waiting entries move to the front in their order and play first next time.
    std::int32_t w = 0;
    for (std::int32_t i = 1; i <= SoundQueueBound; ++i) {
        if (SoundQueue[i]) {
            SoundQueue[w] = std::move(SoundQueue[i]);
            PriorityQueue[w] = PriorityQueue[i];
            ClearEntry(i);
            ++w;
        }
        RuntimeBackgroundTask();
    }
    SoundQueueBound = w - 1;
}

void SoundPlayer::SetSacrifice(const SoundPtr& sound, std::int32_t interval) {
    SacrificeSound = sound;
    SacrificeInterval = interval;
}

void SoundPlayer::ClearEntry(std::int32_t i) {
    SoundQueue[i].reset();
    PriorityQueue[i] = 0;
}
