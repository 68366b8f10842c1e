#pragma once

#include "platform/core/Result.h"
#include "platform/media/Asset.h"
#include "platform/media/Composition.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/SampleBuffer.h"

#include <memory>
#include <optional>
#include <vector>

namespace media {

struct ReaderCore;

// Decoded samples read through an AssetReader: pictures as pixel buffers of the chosen format (a
// bi-planar format carries the stream's YCbCr matrix), sound as interleaved 32-bit float PCM.
//
// Thread safety: every operation may be called from any thread (the outputs of one reader take turns).
class AssetReaderOutput {
public:
    enum class Kind {
        Track,            // one track of an asset, at its own size, rate and channels
        VideoComposition, // a composition's pictures, made as its video composition says
        AudioMix,         // a composition's sound, mixed as its audio mix says
    };

    static std::shared_ptr<AssetReaderOutput> trackOutput(const AssetTrack& track,
                                                          PixelFormat pixelFormat = PixelFormat::BiPlanar420FullRange);
    static std::shared_ptr<AssetReaderOutput> videoCompositionOutput(const VideoComposition& videoComposition,
                                                                     PixelFormat pixelFormat = PixelFormat::BiPlanar420FullRange);
    // Sound at the rate and channel count of the composition's first sound track.
    static std::shared_ptr<AssetReaderOutput> audioMixOutput(const AudioMix& audioMix);

    Kind kind() const { return m_kind; }
    MediaType mediaType() const { return m_mediaType; }
    // Of a track output.
    const AssetTrack& track() const { return m_track; }
    PixelFormat pixelFormat() const { return m_pixelFormat; }
    const VideoComposition& videoComposition() const { return m_videoComposition; }
    const AudioMix& audioMix() const { return m_audioMix; }

    // The next sample in presentation order; nullptr once the output is exhausted, or while its reader
    // is not reading.
    std::shared_ptr<SampleBuffer> copyNextSampleBuffer();

private:
    friend class AssetReader;

    AssetReaderOutput(Kind kind, MediaType mediaType);

    const Kind m_kind;
    const MediaType m_mediaType;
    AssetTrack m_track;
    PixelFormat m_pixelFormat = PixelFormat::BiPlanar420FullRange;
    VideoComposition m_videoComposition;
    AudioMix m_audioMix;
    std::shared_ptr<ReaderCore> m_core; // set by the reader that takes the output
};

// Decodes an asset's tracks, or a composition's, for its outputs, with FFmpeg, as fast as they are
// asked for.
//
// Life of a reader: create, add outputs, startReading, copy samples from the outputs until each answers
// nullptr (the reader is then Completed), or cancelReading.
//
// Thread safety: every operation may be called from any thread.
class AssetReader {
public:
    enum class Status { Unknown, Reading, Completed, Failed, Cancelled };

    // Track outputs of the asset's tracks.
    static std::shared_ptr<AssetReader> create(std::shared_ptr<Asset> asset);
    // A video composition output and an audio mix output.
    static std::shared_ptr<AssetReader> create(std::shared_ptr<Composition> composition);
    ~AssetReader();
    AssetReader(const AssetReader&) = delete;
    AssetReader& operator=(const AssetReader&) = delete;

    // The asset read; nullptr for a composition.
    const std::shared_ptr<Asset>& asset() const { return m_asset; }
    const std::shared_ptr<Composition>& composition() const { return m_composition; }

    // Outputs are added before reading starts, each once.
    bool canAddOutput(const AssetReaderOutput& output) const;
    void addOutput(const std::shared_ptr<AssetReaderOutput>& output);
    std::vector<std::shared_ptr<AssetReaderOutput>> outputs() const;

    // An asset's reader reads only the samples of [start, start + duration) (an infinite duration: to
    // the end); set before reading starts.
    void setTimeRange(MediaTime start, MediaTime duration);

    // Opens the first file and its decoders. False, with status Failed and the error, when that fails,
    // or when there is no output.
    bool startReading();
    void cancelReading();

    Status status() const;
    std::optional<core::Error> error() const;

private:
    AssetReader(std::shared_ptr<Asset> asset, std::shared_ptr<Composition> composition);

    const std::shared_ptr<Asset> m_asset;
    const std::shared_ptr<Composition> m_composition;
    const std::shared_ptr<ReaderCore> m_core;
    // Guarded by the core's lock. The reader owns its outputs; they share its core.
    std::vector<std::shared_ptr<AssetReaderOutput>> m_outputs;
};

} // namespace media
