#pragma once

#include "platform/media/SampleBuffer.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace media {

class CaptureSource;

enum class CaptureDevicePosition { Unspecified = 0, Back = 1, Front = 2 };

// A camera or a microphone. Cameras are the Linux video devices (/dev/video*: the first at the back,
// the second at the front), or, when movie files are named for them, movie cameras that play those
// files at their own pace, looping (the first at the back, the second at the front). A movie camera's
// sound is the microphone; otherwise the microphone is SDL's default recording device.
//
// Thread safety: devices are immutable; the static operations may be called from any thread.
class CaptureDevice {
public:
    enum class Kind { LinuxCamera, MovieCamera, Microphone, MovieMicrophone };

    // The devices of the media type, in the order above.
    static std::vector<std::shared_ptr<CaptureDevice>> devices(MediaType mediaType);
    static std::shared_ptr<CaptureDevice> defaultDevice(MediaType mediaType);

    // Movie files that stand in for the cameras, back first; empty: those ZEMBRIX_CAMERA_MOVIE names
    // ("back.mp4" or "back.mp4:front.mp4"), or the Linux cameras when it names none.
    static void setMovieCameraFiles(std::vector<std::filesystem::path> files);

    const std::string& uniqueID() const { return m_uniqueID; }
    const std::string& localizedName() const { return m_localizedName; }
    MediaType mediaType() const { return m_mediaType; }
    CaptureDevicePosition position() const { return m_position; }
    Kind kind() const { return m_kind; }
    // The device file or the movie.
    const std::filesystem::path& path() const { return m_path; }

    friend bool operator==(const CaptureDevice& a, const CaptureDevice& b) { return a.m_uniqueID == b.m_uniqueID; }

private:
    friend class CaptureSession;

    CaptureDevice(Kind kind, MediaType mediaType, CaptureDevicePosition position, std::filesystem::path path,
                  std::string localizedName);

    // What delivers the device's samples while a session runs it.
    std::unique_ptr<CaptureSource> makeSource() const;

    const Kind m_kind;
    const MediaType m_mediaType;
    const CaptureDevicePosition m_position;
    const std::filesystem::path m_path;
    const std::string m_uniqueID;
    const std::string m_localizedName;
};

} // namespace media
