#pragma once

#include "platform/ui/Pasteboard.h"

namespace host {

struct SdlLibrary;

// The desktop's clipboard, through SDL; the window host puts it in place while its window is open.
class SdlPasteboard : public ui::Pasteboard {
public:
    explicit SdlPasteboard(const SdlLibrary& sdl)
        : m_sdl(sdl) {}

    void setString(std::string text) override;
    std::string string() const override;

private:
    const SdlLibrary& m_sdl;
};

} // namespace host
