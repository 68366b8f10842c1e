#include "platform/host/SdlLibrary.h"

#include "platform/core/LazyLibrary.h"

namespace host {

namespace {

// Never closed: SDL keeps threads and handlers of its own once started.
const core::LoadedLibrary<SdlLibrary>& loaded() {
    static const auto library =
        core::loadLibrary<SdlLibrary>("libSDL2-2.0.so.0", [](core::LibrarySymbols& symbols, SdlLibrary& sdl) {
#define ZEMBRIX_SDL_FIND(name) symbols.find("SDL_" #name, sdl.name);
            ZEMBRIX_SDL_FUNCTIONS(ZEMBRIX_SDL_FIND)
#undef ZEMBRIX_SDL_FIND
        });
    return library;
}

} // namespace

const SdlLibrary* SdlLibrary::get() {
    return loaded().get();
}

const std::string& SdlLibrary::loadFailure() {
    return loaded().failure;
}

} // namespace host
