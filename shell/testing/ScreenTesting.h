#pragma once

// The host's helpers for the tests of screens, under the names the shell's tests use.

#include "platform/host/ScreenTesting.h"

namespace zm::testing {

using host::testing::expectLegible;
using host::testing::findButton;
using host::testing::keepScreenshot;
using host::testing::middleInWindow;
using host::testing::tap;

} // namespace zm::testing
