#include "platform/host/SdlPasteboard.h"

#include "platform/core/Log.h"

#include <SDL.h>

namespace host {

void SdlPasteboard::setString(std::string text) {
    if (SDL_SetClipboardText(text.c_str()) != 0)
        core::log(core::LogLevel::Warning, std::string("cannot copy to the clipboard: ") + SDL_GetError());
}

std::string SdlPasteboard::string() const {
    char* text = SDL_GetClipboardText();
    std::string copied = text ? text : "";
    SDL_free(text);
    return copied;
}

} // namespace host
