#pragma once

#include "platform/core/Geometry.h"
#include "platform/core/Result.h"
#include "platform/media/MediaTime.h"
#include "platform/media/SampleBuffer.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace media {

// One track of a movie file, as its header describes it.
struct AssetTrack {
    int streamIndex = -1;
    MediaType mediaType = MediaType::Video;
    MediaTime duration;
    std::string codecName;       // FFmpeg's short name: "h264", "mpeg4", "aac", ...
    core::Size naturalSize;      // video: pixels
    float nominalFrameRate = 0;  // video: frames a second, 0 when the file does not say
    AudioFormat audioFormat;     // audio: as decoded
};

// A movie file and the facts of its tracks, read once when it is opened. Reading its samples is an
// AssetReader's work.
//
// Thread safety: immutable once opened.
class Asset {
public:
    // An error for a file that is missing, unreadable or not a movie FFmpeg knows.
    static core::Result<std::shared_ptr<Asset>> open(const std::filesystem::path& url);

    const std::filesystem::path& url() const { return m_url; }
    MediaTime duration() const { return m_duration; }
    const std::vector<AssetTrack>& tracks() const { return m_tracks; }
    std::vector<AssetTrack> tracksWithMediaType(MediaType mediaType) const;

private:
    Asset(std::filesystem::path url, MediaTime duration, std::vector<AssetTrack> tracks);

    const std::filesystem::path m_url;
    const MediaTime m_duration;
    const std::vector<AssetTrack> m_tracks;
};

} // namespace media
