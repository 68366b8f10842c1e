#pragma once

#include "model/Expr.h"
#include "platform/core/Result.h"
#include "platform/ui/Device.h"
#include "platform/host/TouchScript.h"

#include <filesystem>
#include <iosfwd>
#include <vector>

namespace zm {

// Plays a touch script on one expression without a screen, in game time: after a tap or a drag the
// move settles, and a picture of every command is written to `folder`
// (NN-VERB.png, and NN-NAME.png for shots). The log gets the expression after every move. Answers
// the expression's text at the end, or the first error (a label a target names is not there, a
// picture cannot be written).
core::Result<std::string> runTouchScript(const ExprPtr& expr, const std::vector<host::ScriptCommand>& script,
                                         const std::filesystem::path& folder, const ui::Device& device,
                                         std::ostream& log);

} // namespace zm
