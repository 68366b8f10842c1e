#include "platform/host/ScriptPlayer.h"

#include "platform/host/HeadlessHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace host {

namespace {

// Game time a move is given to settle, and between two moves of a drag.
constexpr double kSettleSeconds = 1.0;
constexpr double kFrame = 1.0 / 60;

const char* verbName(ScriptVerb verb) {
    switch (verb) {
    case ScriptVerb::Tap:
        return "tap";
    case ScriptVerb::Drag:
        return "drag";
    case ScriptVerb::Down:
        return "down";
    case ScriptVerb::Move:
        return "move";
    case ScriptVerb::Up:
        return "up";
    case ScriptVerb::Wait:
        return "wait";
    case ScriptVerb::Shot:
        return "shot";
    }
    return "command";
}

// The views whose shown text reads `text`, depth first, passing by hidden ones.
void findTexts(const ui::View& view, const std::string& text, std::vector<const ui::View*>& found) {
    if (view.isHidden())
        return;
    if (const auto* button = dynamic_cast<const ui::Button*>(&view)) {
        if (button->currentTitle() == text)
            found.push_back(button);
        return;
    }
    if (const auto* label = dynamic_cast<const ui::Label*>(&view); label && label->text() == text)
        found.push_back(label);
    for (const std::shared_ptr<ui::View>& subview : view.subviews())
        findTexts(*subview, text, found);
}

core::Error usageError(const std::string& message) {
    return {"Harness", 4, message, {}};
}

} // namespace

core::Result<core::Point> resolveViewTarget(const ui::View& root, const ScriptTarget& target) {
    if (target.point)
        return *target.point;
    std::vector<const ui::View*> found;
    findTexts(root, target.text, found);
    if (found.size() < size_t(target.occurrence))
        return core::Error{"Harness", 3, "nothing reads \"" + target.text + "\"" +
                                             (target.occurrence > 1 ? " " + std::to_string(target.occurrence) + " times" : ""),
                           {}};
    const ui::View& view = *found[size_t(target.occurrence - 1)];
    const core::Rect frame = view.convertRectToView(view.bounds(), nullptr);
    return core::Point{frame.midX(), frame.midY()};
}

std::string scriptPictureName(size_t index, const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%02zu-", index);
    return number + name + ".png";
}

core::Status playTouchScript(HeadlessHost& host, const std::vector<ScriptCommand>& script,
                             const std::filesystem::path& folder, const TargetResolver& resolve, std::ostream& log,
                             const std::function<void(const ScriptCommand&)>& afterCommand) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return core::Error{"Harness", 2, "cannot make " + folder.string() + ": " + error.message(), {}};
    if (const core::Status written = host.writeScreenshot(folder / scriptPictureName(0, "start")); !written)
        return written.error();
    for (size_t index = 0; index < script.size(); ++index) {
        const ScriptCommand& command = script[index];
        std::vector<core::Point> points;
        for (const ScriptTarget& target : command.targets) {
            core::Result<core::Point> point = resolve(target);
            if (!point)
                return core::Error{"Harness",
                                   3,
                                   "line " + std::to_string(command.line) + ": " + point.error().description,
                                   {}};
            points.push_back(*point);
        }
        log << command.source << "\n";
        switch (command.verb) {
        case ScriptVerb::Tap:
            host.touchDown(points[0]);
            host.advance(kFrame);
            host.touchUp(points[0]);
            host.advance(kSettleSeconds);
            break;
        case ScriptVerb::Drag:
            host.touchDown(points[0]);
            for (size_t leg = 1; leg < points.size(); ++leg) {
                const core::Point from = points[leg - 1], to = points[leg];
                for (int step = 1; step <= command.steps; ++step) {
                    const float t = float(step) / float(command.steps);
                    host.advance(kFrame);
                    host.touchMove({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
                }
            }
            host.touchUp(points.back());
            host.advance(kSettleSeconds);
            break;
        case ScriptVerb::Down:
            host.touchDown(points[0]);
            break;
        case ScriptVerb::Move:
            host.advance(kFrame);
            host.touchMove(points[0]);
            break;
        case ScriptVerb::Up:
            host.touchUp(points[0]);
            break;
        case ScriptVerb::Wait:
            host.advance(command.seconds);
            break;
        case ScriptVerb::Shot:
            break;
        }
        if (afterCommand)
            afterCommand(command);
        const std::string name = command.verb == ScriptVerb::Shot ? command.name : verbName(command.verb);
        if (const core::Status written = host.writeScreenshot(folder / scriptPictureName(index + 1, name)); !written)
            return written.error();
    }
    return {};
}

core::Result<std::vector<std::string>> HarnessRunOptions::parse(std::span<const std::string> arguments,
                                                                std::span<const std::string_view> ownOptions) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (argument == "--device") {
            const std::optional<std::string> idiom = value();
            if (idiom != "phone" && idiom != "tablet")
                return usageError("--device takes phone or tablet");
            device.idiom = *idiom == "phone" ? ui::Idiom::Phone : ui::Idiom::Tablet;
        } else if (argument == "--scale") {
            const std::optional<std::string> scale = value();
            if (scale != "1" && scale != "2")
                return usageError("--scale takes 1 or 2");
            device.scale = *scale == "1" ? 1.0f : 2.0f;
        } else if (argument == "--headless") {
            headless = true;
        } else if (argument == "--script" || argument == "--out") {
            std::optional<std::string> path = value();
            if (!path || path->empty())
                return usageError(argument + " takes a path");
            (argument == "--script" ? script : out) = std::move(path);
        } else if (argument.starts_with("--") &&
                   std::find(ownOptions.begin(), ownOptions.end(), argument) == ownOptions.end()) {
            return usageError("unknown option " + argument);
        } else {
            rest.push_back(argument);
        }
    }
    if (headless && !out)
        return usageError("--headless needs --out DIR for its pictures");
    if (!headless && (script || out))
        return usageError("--script and --out go with --headless");
    return rest;
}

} // namespace host
