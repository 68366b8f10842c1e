#include "platform/core/Clock.h"

namespace core {

Duration fromSeconds(double seconds) {
    return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(seconds));
}

double toSeconds(Duration duration) {
    return std::chrono::duration<double>(duration).count();
}

} // namespace core
