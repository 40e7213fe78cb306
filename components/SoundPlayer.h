#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "Sound.h"

// Plays the program's sound effects: a volume of nine steps and mute, a queue of up to 16 sounds
// ordered by priority that is drained once per tick, and a filler sound after a silence.
class SoundPlayer {
public:
    static constexpr std::int32_t kQueueSize = 16;
    static constexpr std::int32_t kMutedIndex = 9;
    static constexpr std::int32_t kDisabledIndex = 99;

    SoundPlayer();

    std::string VersionInfo() const { return "2012-05-19,1"; }
    void Play(const SoundPtr& sound);
    void SetEnable(bool enable);
    bool RefEnable() const { return SoundEnable; }
    void Beep();
    void SetVolume(std::int32_t index);
    std::int32_t RefVolume() const { return SoundVolumeIndex; }
    std::string SaveData() const;
    void RestoreData(const std::string& code);
    void PushQueue(const SoundPtr& sound, std::int32_t priority);
    void PlayQueue();
    void SetSacrifice(const SoundPtr& sound, std::int32_t interval);
    void SetPriorityMode(bool mode) { PriorityMode = mode; }

    // Filler delay in units of 100 ms.
    std::int32_t SacrificeInterval = 0;

    // For tests: the queue's last index (-1 when empty), its entries, and the last play time.
    std::int32_t RefQueueBound() const { return SoundQueueBound; }
    const SoundPtr& RefQueued(std::int32_t i) const { return SoundQueue[i]; }
    std::int32_t RefQueuedPriority(std::int32_t i) const { return PriorityQueue[i]; }
    double RefLastPlayTime() const { return LastPlayTime; }
    std::int32_t RefSoundVolume() const { return SoundVolume; }

private:
    void PlayRest();
    void PlayRestByPriority();
    void ClearEntry(std::int32_t i);

protected:
    bool SoundEnable = true;
    std::int32_t SoundVolume = 100;
    std::int32_t SoundVolumeIndex = 0;
    std::array<SoundPtr, kQueueSize> SoundQueue{};
    std::int32_t SoundQueueBound = -1;
    SoundPtr SacrificeSound;
    double LastPlayTime = 0;
    std::array<std::int32_t, kQueueSize> PriorityQueue{};
    bool PriorityMode = false;
};
