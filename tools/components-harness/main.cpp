// A developer's harness for the interface components, which no screen of the game opens: the
// progress overlays, the settings screens (over a sample settings bundle, with their values in the
// user defaults or, with --store file, in a file of their own) and the text-style picker beside a
// sample text, in a window played with the mouse, or headless with a touch script and a picture per
// command.

#include "components/SettingsKit/STKAppSettingsViewController.h"
#include "platform/core/Files.h"
#include "platform/core/SteadyClock.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScriptPlayer.h"
#include "platform/host/WindowHost.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "tools/components-harness/MenuScreen.h"
#include "tools/components-harness/OverlaysScreen.h"
#include "tools/components-harness/SettingsTrial.h"
#include "tools/components-harness/TextStyleTrial.h"

#include <iostream>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: components-harness [--device phone|tablet] [--scale 1|2] "
                               "[--headless --out DIR [--script FILE]] [--store defaults|file]";

int fail(const std::string& message) {
    std::cerr << "components-harness: " << message << "\n";
    return 1;
}

// The menu of every component on trial, under a navigation bar.
std::shared_ptr<ui::ViewController> makeRoot(zm::HarnessStore store) {
    auto settings = std::make_shared<zm::SettingsTrial>(ZEMBRIX_HARNESS_BUNDLE, store, std::cout);
    std::vector<zm::MenuScreen::Entry> entries{
        {"Overlays", [] { return std::shared_ptr<ui::ViewController>(zm::OverlaysScreen::create(std::cout)); }},
        {"Settings", [settings] { return std::shared_ptr<ui::ViewController>(settings->makeScreen()); }},
        {"TextStyle", [] { return std::shared_ptr<ui::ViewController>(zm::TextStyleTrial::create(std::cout)); }},
    };
    return ui::NavigationController::create(zm::MenuScreen::create(std::move(entries)));
}

int play(const host::HarnessRunOptions& options, zm::HarnessStore store) {
    auto opened = host::WindowHost::open(options.device, core::SteadyClock::shared());
    if (!opened)
        return fail(opened.error().description);
    host::WindowHost& window = **opened;
    window.application().window().setRootViewController(makeRoot(store));
    if (const core::Status ran = window.run(); !ran)
        return fail(ran.error().description);
    return 0;
}

int runHeadless(const host::HarnessRunOptions& options, zm::HarnessStore store) {
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
    host.window().setRootViewController(makeRoot(store));
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
    constexpr std::string_view ownOptions[] = {"--store"};
    const auto rest = options.parse(arguments, ownOptions);
    zm::HarnessStore store = zm::HarnessStore::UserDefaults;
    const bool storeNamed = rest && rest->size() == 2 && (*rest)[0] == "--store" &&
                            ((*rest)[1] == "defaults" || (*rest)[1] == "file");
    if (!rest || (!rest->empty() && !storeNamed)) {
        std::cerr << "components-harness: " << (rest ? "unexpected " + rest->front() : rest.error().description)
                  << "\n"
                  << kUsage << "\n";
        return 2;
    }
    if (storeNamed && (*rest)[1] == "file")
        store = zm::HarnessStore::File;
    return options.headless ? runHeadless(options, store) : play(options, store);
}
