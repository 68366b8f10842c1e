#pragma once

#include "platform/core/Result.h"
#include "platform/media/Asset.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/SampleBuffer.h"

#include <memory>
#include <optional>
#include <vector>

namespace media {

struct ReaderCore;

// The decoded samples of one track of an asset, read through an AssetReader: pictures as pixel buffers
// of the chosen format (a bi-planar format carries the stream's YCbCr matrix), audio as interleaved
// 32-bit float PCM at the track's own rate and channel count.
//
// Thread safety: every operation may be called from any thread (the outputs of one reader take turns).
class AssetReaderTrackOutput {
public:
    static std::shared_ptr<AssetReaderTrackOutput> create(const AssetTrack& track,
                                                          PixelFormat pixelFormat = PixelFormat::BiPlanar420FullRange);

    MediaType mediaType() const { return m_track.mediaType; }
    const AssetTrack& track() const { return m_track; }
    PixelFormat pixelFormat() const { return m_pixelFormat; }

    // The next sample in presentation order; nullptr once the track is exhausted, or while its reader
    // is not reading.
    std::shared_ptr<SampleBuffer> copyNextSampleBuffer();

private:
    friend class AssetReader;

    AssetReaderTrackOutput(const AssetTrack& track, PixelFormat pixelFormat);

    const AssetTrack m_track;
    const PixelFormat m_pixelFormat;
    std::shared_ptr<ReaderCore> m_core; // set by the reader that takes the output
};

// Decodes the tracks of an asset for its outputs, with FFmpeg, as fast as they are asked for.
//
// Life of a reader: create, add outputs, startReading, copy samples from the outputs until each answers
// nullptr (the reader is then Completed), or cancelReading.
//
// Thread safety: every operation may be called from any thread.
class AssetReader {
public:
    enum class Status { Unknown, Reading, Completed, Failed, Cancelled };

    static std::shared_ptr<AssetReader> create(std::shared_ptr<Asset> asset);
    ~AssetReader();
    AssetReader(const AssetReader&) = delete;
    AssetReader& operator=(const AssetReader&) = delete;

    const std::shared_ptr<Asset>& asset() const { return m_asset; }

    // One output a track of this asset, added before reading starts.
    bool canAddOutput(const AssetReaderTrackOutput& output) const;
    void addOutput(const std::shared_ptr<AssetReaderTrackOutput>& output);
    std::vector<std::shared_ptr<AssetReaderTrackOutput>> outputs() const;

    // Reads only the samples of [start, start + duration) (an infinite duration: to the end); set
    // before reading starts.
    void setTimeRange(MediaTime start, MediaTime duration);

    // Opens the file and its decoders. False, with status Failed and the error, when that fails, or
    // when there is no output.
    bool startReading();
    void cancelReading();

    Status status() const;
    std::optional<core::Error> error() const;

private:
    explicit AssetReader(std::shared_ptr<Asset> asset);

    const std::shared_ptr<Asset> m_asset;
    const std::shared_ptr<ReaderCore> m_core;
};

} // namespace media
