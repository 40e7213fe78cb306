#include "SdlAudioLibrary.h"

#include <dlfcn.h>

#include <cstring>

namespace {
// SDL2_mixer's own dependencies bring SDL2 in with it.
constexpr const char* kMixerLibrary = "libSDL2_mixer-2.0.so.0";

std::string& Error() {
    static std::string error;
    return error;
}

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        Error() = std::string("no ") + name + " in " + kMixerLibrary;
        return false;
    }
    std::memcpy(&function, &symbol, sizeof function);
    return true;
}
}  // namespace

const SdlAudioLibrary* SdlAudioLibrary::Get() {
    static const SdlAudioLibrary* const library = [] {
        static SdlAudioLibrary loaded;
        return loaded.Load() ? &loaded : nullptr;
    }();
    return library;
}

const std::string& SdlAudioLibrary::LoadError() {
    return Error();
}

// Kept loaded for the rest of the run: the audio thread and the chunks live in it.
bool SdlAudioLibrary::Load() {
    void* mixer = dlopen(kMixerLibrary, RTLD_NOW | RTLD_LOCAL);
    if (mixer == nullptr) {
        const char* why = dlerror();
        Error() = why != nullptr ? why : kMixerLibrary;
        return false;
    }
    return Resolve(mixer, "SDL_InitSubSystem", InitSubSystem) &&
           Resolve(mixer, "SDL_QuitSubSystem", QuitSubSystem) &&
           Resolve(mixer, "SDL_GetError", GetError) &&
           Resolve(mixer, "SDL_RWFromConstMem", RWFromConstMem) &&
           Resolve(mixer, "SDL_LoadWAV_RW", LoadWAV_RW) &&
           Resolve(mixer, "SDL_BuildAudioCVT", BuildAudioCVT) &&
           Resolve(mixer, "SDL_ConvertAudio", ConvertAudio) &&
           Resolve(mixer, "SDL_malloc", Malloc) && Resolve(mixer, "SDL_free", Free) &&
           Resolve(mixer, "Mix_OpenAudioDevice", OpenAudioDevice) &&
           Resolve(mixer, "Mix_AllocateChannels", AllocateChannels) &&
           Resolve(mixer, "Mix_CloseAudio", CloseAudio) &&
           Resolve(mixer, "Mix_GroupAvailable", GroupAvailable) &&
           Resolve(mixer, "Mix_GroupOldest", GroupOldest) && Resolve(mixer, "Mix_Volume", Volume) &&
           Resolve(mixer, "Mix_PlayChannelTimed", PlayChannelTimed) &&
           Resolve(mixer, "Mix_Playing", Playing) && Resolve(mixer, "Mix_GetChunk", GetChunk) &&
           Resolve(mixer, "Mix_HaltChannel", HaltChannel);
}
