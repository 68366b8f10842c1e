#include "platform/host/SdlPasteboard.h"

#include "platform/core/Log.h"
#include "platform/host/SdlLibrary.h"


namespace host {

void SdlPasteboard::setString(std::string text) {
    if (m_sdl.SetClipboardText(text.c_str()) != 0)
        core::log(core::LogLevel::Warning, std::string("cannot copy to the clipboard: ") + m_sdl.GetError());
}

std::string SdlPasteboard::string() const {
    char* text = m_sdl.GetClipboardText();
    std::string copied = text ? text : "";
    m_sdl.free(text);
    return copied;
}

} // namespace host
