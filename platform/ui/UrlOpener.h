#pragma once

#include <memory>
#include <string>

namespace ui {

// Opens addresses outside the game: web pages in the desktop's browser, mail links in its mail program.
// The game asks the shared one; tests put in their own and look at what was asked.
//
// Main thread only. Replacing the shared opener ends the one shared() answered before: callers use it
// at once rather than keep it.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    // Answers whether the address was handed on (not whether anything showed it).
    virtual bool open(const std::string& url) = 0;

    static UrlOpener& shared();
    // nullptr puts the desktop's opener back.
    static void setShared(std::shared_ptr<UrlOpener> opener);
};

// The desktop's: runs `xdg-open` with the address, without a shell and without waiting for it. Only
// well-formed addresses of the web, mail and files are handed on.
class DesktopUrlOpener : public UrlOpener {
public:
    bool open(const std::string& url) override;

    static bool isOpenable(const std::string& url);
};

} // namespace ui
