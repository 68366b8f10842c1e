#pragma once

#include "longdivision/model/ExprLongDivision.h"
#include "model/Expr.h"
#include "platform/core/Result.h"
#include "platform/host/TouchScript.h"
#include "platform/ui/Device.h"

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

// The same on a long division, its host view loaded from its interface file; the log gets the
// division's notifications and, after every command, its quotient, remainder and state. Targets name
// its parts (see LongDivisionStage::resolve).
core::Result<std::string> runLongDivisionScript(const std::shared_ptr<ExprLongDivision>& division, bool demoMode,
                                                const std::vector<host::ScriptCommand>& script,
                                                const std::filesystem::path& folder, const ui::Device& device,
                                                std::ostream& log);

} // namespace zm
