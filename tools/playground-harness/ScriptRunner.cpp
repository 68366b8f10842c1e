#include "tools/playground-harness/ScriptRunner.h"

#include "platform/host/HeadlessHost.h"
#include "tools/playground-harness/HarnessStage.h"

#include <cstdio>
#include <ostream>

namespace zm {

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

std::string pictureName(size_t index, const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%02zu-", index);
    return number + name + ".png";
}

} // namespace

core::Result<std::string> runTouchScript(const ExprPtr& expr, const std::vector<ScriptCommand>& script,
                                         const std::filesystem::path& folder, const ui::Device& device,
                                         std::ostream& log) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return core::Error{"Harness", 2, "cannot make " + folder.string() + ": " + error.message(), {}};

    host::HeadlessHost host(device);
    const std::shared_ptr<HarnessStage> stage = HarnessStage::create(host.application(), expr, log);
    host.advance(kSettleSeconds);
    if (const core::Status written = host.writeScreenshot(folder / pictureName(0, "start")); !written)
        return written.error();

    for (size_t index = 0; index < script.size(); ++index) {
        const ScriptCommand& command = script[index];
        std::vector<core::Point> points;
        for (const ScriptTarget& target : command.targets) {
            core::Result<core::Point> point = stage->resolve(target);
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
            for (int step = 1; step <= command.steps; ++step) {
                const float t = float(step) / float(command.steps);
                host.advance(kFrame);
                host.touchMove({points[0].x + (points[1].x - points[0].x) * t,
                                points[0].y + (points[1].y - points[0].y) * t});
            }
            host.touchUp(points[1]);
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
        const std::string name = command.verb == ScriptVerb::Shot ? command.name : verbName(command.verb);
        if (const core::Status written = host.writeScreenshot(folder / pictureName(index + 1, name));
            !written)
            return written.error();
    }
    log << "end: " << stage->text() << "\n";
    return stage->text();
}

} // namespace zm
