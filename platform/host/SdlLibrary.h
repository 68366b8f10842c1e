#pragma once

#include <string>

#include <SDL.h>

namespace host {

// The functions of SDL the window host uses (named as SDL's without the prefix), listed once.
#define ZEMBRIX_SDL_FUNCTIONS(X)                                                                            \
    X(BuildAudioCVT) X(CloseAudioDevice) X(ConvertAudio) X(ConvertPixels) X(CreateRGBSurfaceWithFormatFrom) \
    X(CreateWindow) X(DestroyWindow) X(FreeSurface) X(FreeWAV) X(GetClipboardText) X(GetError)              \
    X(GetWindowSize) X(GetWindowSurface) X(InitSubSystem) X(LoadWAV_RW) X(OpenAudioDevice)                  \
    X(PauseAudioDevice) X(PollEvent) X(QueueAudio) X(QuitSubSystem) X(RWFromFile) X(SetClipboardText)      \
    X(SetHint) X(SetSurfaceBlendMode) X(StartTextInput) X(TLSCleanup) X(UpdateWindowSurface)                \
    X(UpdateWindowSurfaceRects) X(UpperBlitScaled) X(free)

// SDL, loaded when the first window opens rather than with the program: it brings some thirty
// libraries of its own (X11, Wayland, PulseAudio, ALSA, codecs...) that a headless run never needs.
struct SdlLibrary {
#define ZEMBRIX_SDL_MEMBER(name) decltype(&::SDL_##name) name;
    ZEMBRIX_SDL_FUNCTIONS(ZEMBRIX_SDL_MEMBER)
#undef ZEMBRIX_SDL_MEMBER

    // The library, loaded once for the process (thread-safe); null when it cannot be, with the reason
    // in loadFailure().
    static const SdlLibrary* get();
    static const std::string& loadFailure();
};

} // namespace host
