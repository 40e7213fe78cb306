#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

// The SDL2 and SDL2_mixer calls that sound uses, from the libraries loaded at the first call of
// Get rather than linked in: they and the dozens of libraries they bring cost about 7 ms and
// 5 MiB at start-up, so the program loads them when a sound first needs them, after its window
// is up.
class SdlAudioLibrary {
public:
    // Null when the libraries cannot be loaded; tried once.
    static const SdlAudioLibrary* Get();
    // Why Get gave null.
    static const std::string& LoadError();

    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_GetError) GetError = nullptr;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&::SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
    decltype(&::SDL_ConvertAudio) ConvertAudio = nullptr;
    decltype(&::SDL_malloc) Malloc = nullptr;
    decltype(&::SDL_free) Free = nullptr;
    decltype(&::Mix_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::Mix_AllocateChannels) AllocateChannels = nullptr;
    decltype(&::Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&::Mix_GroupAvailable) GroupAvailable = nullptr;
    decltype(&::Mix_GroupOldest) GroupOldest = nullptr;
    decltype(&::Mix_Volume) Volume = nullptr;
    decltype(&::Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
    decltype(&::Mix_Playing) Playing = nullptr;
    decltype(&::Mix_GetChunk) GetChunk = nullptr;
    decltype(&::Mix_HaltChannel) HaltChannel = nullptr;

private:
    SdlAudioLibrary() = default;
    bool Load();
};
