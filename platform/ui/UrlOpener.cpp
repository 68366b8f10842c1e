#include "platform/ui/UrlOpener.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/ui/Url.h"

#include <array>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace ui {

namespace {

std::shared_ptr<UrlOpener>& installed() {
    static std::shared_ptr<UrlOpener> opener;
    return opener;
}

} // namespace

UrlOpener& UrlOpener::shared() {
    static DesktopUrlOpener desktop;
    const std::shared_ptr<UrlOpener>& opener = installed();
    return opener ? *opener : desktop;
}

void UrlOpener::setShared(std::shared_ptr<UrlOpener> opener) {
    installed() = std::move(opener);
}

bool DesktopUrlOpener::isOpenable(const std::string& url) {
    const std::optional<Url> parsed = Url::parse(url);
    return parsed && (parsed->scheme == "http" || parsed->scheme == "https" || parsed->scheme == "mailto" ||
                      parsed->scheme == "file");
}

bool DesktopUrlOpener::open(const std::string& url) {
    if (!isOpenable(url)) {
        core::log(core::LogLevel::Warning,
                  "not opening \"" + url + "\": not an address of the web, mail or files");
        return false;
    }
    // The address is one argument of its own, and it starts with its scheme, never with "-".
    std::string program = "xdg-open";
    std::string argument = url;
    std::array<char*, 3> arguments{program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, arguments.data(), environ) != 0) {
        core::log(core::LogLevel::Warning, "cannot run xdg-open to open " + url);
        return false;
    }
    // Reaped in the background, so that no finished child lingers.
    core::DispatchQueue::global()->async([child] {
        int status = 0;
        waitpid(child, &status, 0);
    });
    return true;
}

} // namespace ui
