#pragma once

#include "platform/media/MediaTime.h"

namespace zm {

// When a frame was made, on the timeline of the movie or camera it comes from. A still image has no time
// of its own and travels with the indefinite time; an input that has delivered nothing yet holds the
// invalid time, which is also what a new time is.
using PixFrameTime = media::MediaTime;

} // namespace zm
