#pragma once

#include "platform/core/Error.h"

#include <string>

namespace media {

// The domain of the errors the media layer reports, and their codes.
extern const char* const MediaErrorDomain;

enum MediaErrorCode : long {
    MediaErrorCannotCreateFile = 1, // the file exists already, or its folder cannot take it
    MediaErrorCannotOpenFile,       // missing, unreadable, or not a movie
    MediaErrorNoEncoder,            // this system's FFmpeg has no encoder for the format
    MediaErrorEncodingFailed,
    MediaErrorDecodingFailed,
    MediaErrorInvalidSettings,
    MediaErrorNoSuchDevice,
    MediaErrorDeviceFailed,
    // A photo asked for while the camera is still taking one (the code the platform's callers know).
    MediaErrorMaximumStillImageCaptureRequestsExceeded = -11830,
};

core::Error mediaError(MediaErrorCode code, std::string description);

} // namespace media
