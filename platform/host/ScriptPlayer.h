#pragma once

#include "platform/core/Result.h"
#include "platform/host/TouchScript.h"
#include "platform/ui/Device.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {
class View;
}

namespace host {

class HeadlessHost;

// Finds where a script's target lies on the window now.
using TargetResolver = std::function<core::Result<core::Point>(const ScriptTarget& target)>;

// The centre, in window coordinates, of the button whose title or the label whose text reads the
// target's text (the N-th of them, depth first, for "@TEXT#N"), among the views of `root` on screen;
// a point target is answered as it is.
core::Result<core::Point> resolveViewTarget(const ui::View& root, const ScriptTarget& target);

// The file name of the picture of a script's command `index` (0: the start): "NN-NAME.png".
std::string scriptPictureName(size_t index, const std::string& name);

// Plays a touch script on `host` in game time: after a tap or a drag whatever it started is given a
// second to settle, and pictures are written to `folder` (made when missing): 00-start.png first,
// then one of every command (NN-VERB.png, and NN-NAME.png for shots). The log gets each command as it comes. Answers the first
// error: a folder or picture that cannot be written, a target that cannot be resolved. `afterCommand`, when
// given, runs after each command, before its picture (a harness logs what the command did).
core::Status playTouchScript(HeadlessHost& host, const std::vector<ScriptCommand>& script,
                             const std::filesystem::path& folder, const TargetResolver& resolve, std::ostream& log,
                             const std::function<void(const ScriptCommand&)>& afterCommand = {});

// The options every developer harness takes, before its own:
//   [--device phone|tablet] [--scale 1|2] [--headless --out DIR [--script FILE]]
// Without --headless the harness opens a window, played with the mouse.
struct HarnessRunOptions {
    ui::Device device{ui::Idiom::Tablet, 1};
    bool headless = false;
    std::optional<std::string> script;
    std::optional<std::string> out;

    static constexpr const char* usage = "[--device phone|tablet] [--scale 1|2] [--headless --out DIR [--script FILE]]";

    // Takes the options above out of `arguments` and answers the others, in order (an unknown option
    // beginning "--" is an error unless `ownOptions` names it).
    core::Result<std::vector<std::string>> parse(std::span<const std::string> arguments,
                                                 std::span<const std::string_view> ownOptions = {});
};

} // namespace host
