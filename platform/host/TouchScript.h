#pragma once

#include "platform/core/Geometry.h"
#include "platform/core/Result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Where a scripted finger goes: a point of the window, or the centre of something shown by its text
// (for the playground harness, a label of the expression: "@+" the first plus sign from the left,
// "@x#2" the second x; each harness says what its texts name).
struct ScriptTarget {
    std::optional<core::Point> point;
    std::string text;
    int occurrence = 1;
};

enum class ScriptVerb { Tap, Drag, Down, Move, Up, Wait, Shot };

// One line of a touch script.
struct ScriptCommand {
    ScriptVerb verb;
    std::vector<ScriptTarget> targets;
    double seconds = 0; // wait
    int steps = 30;     // drag: moves from one target to the next, a frame apart
    std::string name;   // shot
    int line = 0;
    std::string source;
};

// Reads a touch script, one command a line; "#" starts a comment:
//
//   tap TARGET                  finger down and up, then the move settles
//   drag TARGET TARGET... [STEPS]
//                               down at the first, moves through the others in turn (STEPS moves
//                               from each to the next), up at the last, then the move settles
//   down TARGET | move TARGET | up TARGET
//                               one finger event, as it comes (a move a frame after the last event):
//                               with wait and shot, the frames of a move can be looked at
//   wait SECONDS                game time passes
//   shot [NAME]                 a picture now
//
// A TARGET is "X,Y" or "@TEXT[#N]". A line that is none of these is an error naming the line.
core::Result<std::vector<ScriptCommand>> parseTouchScript(std::string_view text);

} // namespace host
