// A developer's harness for the interface components, which no screen of the game opens: the
// progress overlays, in a window played with the mouse, or headless with a touch script and a picture
// per command.

#include "platform/core/Files.h"
#include "platform/core/SteadyClock.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScriptPlayer.h"
#include "platform/host/WindowHost.h"
#include "platform/ui/Window.h"
#include "tools/components-harness/OverlaysScreen.h"

#include <iostream>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: components-harness [--device phone|tablet] [--scale 1|2] "
                               "[--headless --out DIR [--script FILE]]";

int fail(const std::string& message) {
    std::cerr << "components-harness: " << message << "\n";
    return 1;
}

int play(const host::HarnessRunOptions& options) {
    auto opened = host::WindowHost::open(options.device, core::SteadyClock::shared());
    if (!opened)
        return fail(opened.error().description);
    host::WindowHost& window = **opened;
    window.application().window().setRootViewController(zm::OverlaysScreen::create(std::cout));
    window.run();
    return 0;
}

int runHeadless(const host::HarnessRunOptions& options) {
    std::vector<host::ScriptCommand> script;
    if (options.script) {
        const core::Result<std::string> text = core::readFile(*options.script);
        if (!text)
            return fail(text.error().description);
        auto parsed = host::parseTouchScript(*text);
        if (!parsed)
            return fail(*options.script + ": " + parsed.error().description);
        script = std::move(parsed).value();
    }
    host::HeadlessHost host(options.device);
    host.window().setRootViewController(zm::OverlaysScreen::create(std::cout));
    host.advance(0.5);
    const core::Status played = host::playTouchScript(
        host, script, *options.out,
        [&host](const host::ScriptTarget& target) { return host::resolveViewTarget(host.window(), target); },
        std::cout);
    if (!played)
        return fail(played.error().description);
    std::cout << "end\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    host::HarnessRunOptions options;
    const auto rest = options.parse(arguments);
    if (!rest || !rest->empty()) {
        std::cerr << "components-harness: " << (rest ? "unexpected " + rest->front() : rest.error().description)
                  << "\n"
                  << kUsage << "\n";
        return 2;
    }
    return options.headless ? runHeadless(options) : play(options);
}
