#include "platform/media/MediaError.h"

namespace media {

const char* const MediaErrorDomain = "media";

core::Error mediaError(MediaErrorCode code, std::string description) {
    return core::Error{MediaErrorDomain, code, std::move(description), {}};
}

} // namespace media
