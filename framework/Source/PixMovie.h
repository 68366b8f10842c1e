#pragma once

#include "framework/Source/PixOutput.h"
#include "platform/core/Clock.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>

namespace core {
class DispatchQueue;
}

namespace media {
class Asset;
class AssetReader;
class AssetReaderOutput;
class DisplayLink;
class PixelBuffer;
class PlayerItem;
class PlayerItemVideoOutput;
class SampleBuffer;
} // namespace media

namespace zm {

class PixMovieWriter;
class PixYUVConversion;

// Told once when a movie has played to its end (or was stopped). Optional.
class PixMovieDelegate {
public:
    virtual ~PixMovieDelegate() = default;
    virtual void didCompletePlayingMovie() {}
};

// A source that feeds the frames of a movie into the graph, each converted from YUV to RGB on the GPU
// and handed on with its time; its sound goes to the audio encoding target (a movie writer).
//
// Three ways to play:
// - push (a file or an asset): read as fast as the graph takes the frames, or at the movie's own pace
//   (playAtActualSpeed) on the current clock; with shouldRepeat it starts over, through the main queue,
//   until endProcessing;
// - pull (a movie writer attached with enableSynchronizedEncodingUsingMovieWriter): the writer asks for
//   each next frame and sound sample as its encoder is ready;
// - a player item: the picture the item shows at every display refresh.
// At the end targets get endProcessing and the delegate hears of it once.
//
// Threads: a file is read on a queue of the movie's own, an asset on the caller's thread; frames are
// converted and delivered on the processing queue. Public operations may be called from any thread.
class PixMovie : public PixOutput {
public:
    static std::shared_ptr<PixMovie> create(const std::filesystem::path& url);
    static std::shared_ptr<PixMovie> create(std::shared_ptr<media::Asset> asset);
    static std::shared_ptr<PixMovie> create(std::shared_ptr<media::PlayerItem> playerItem);
    ~PixMovie() override;

    // Pull mode: the writer drives the reading and waits for its encoder instead of dropping.
    void enableSynchronizedEncodingUsingMovieWriter(std::shared_ptr<PixMovieWriter> movieWriter);
    void startProcessing();
    // Stops looping and tells targets and the delegate that the movie has ended.
    void endProcessing();
    // Stops reading, then endProcessing.
    void cancelProcessing();

    bool audioEncodingIsFinished() const { return m_audioEncodingIsFinished.load(); }
    bool videoEncodingIsFinished() const { return m_videoEncodingIsFinished.load(); }
    std::shared_ptr<media::AssetReader> assetReader() const;

    bool runBenchmark() const { return m_runBenchmark.load(); }
    void setRunBenchmark(bool newValue) { m_runBenchmark.store(newValue); }
    bool playAtActualSpeed() const { return m_playAtActualSpeed.load(); }
    void setPlayAtActualSpeed(bool newValue) { m_playAtActualSpeed.store(newValue); }
    bool shouldRepeat() const { return m_shouldRepeat.load(); }
    void setShouldRepeat(bool newValue) { m_shouldRepeat.store(newValue); }
    const std::filesystem::path& url() const { return m_url; }
    std::shared_ptr<media::Asset> asset() const;
    const std::shared_ptr<media::PlayerItem>& playerItem() const { return m_playerItem; }
    // Not owned; cleared once it has heard of the end.
    void setDelegate(PixMovieDelegate* delegate) { m_delegate.store(delegate); }

protected:
    PixMovie(std::filesystem::path url, std::shared_ptr<media::Asset> asset,
             std::shared_ptr<media::PlayerItem> playerItem);

    // A reader with a video output (and a sound output when there is sound and someone to take it);
    // nullptr when the asset has no pictures.
    virtual std::shared_ptr<media::AssetReader> createAssetReader();
    // What the error log calls the movie.
    virtual std::string movieName() const;

    void processAsset();
    bool readNextVideoFrameFromOutput(media::AssetReaderOutput& readerVideoTrackOutput);
    bool readNextAudioSampleFromOutput(media::AssetReaderOutput& readerAudioTrackOutput);
    // On the processing queue: converts the frame and hands it to every target.
    void processMovieFrame(const std::shared_ptr<media::PixelBuffer>& movieFrame, PixFrameTime currentSampleTime);

private:
    void processPlayerItem();
    void displayLinkCallback(media::DisplayLink& link);
    // Waits on the clock until the sample is due after the previous one.
    void paceSample(PixFrameTime sampleTime);

    const std::filesystem::path m_url;
    const std::shared_ptr<media::PlayerItem> m_playerItem;
    std::shared_ptr<core::DispatchQueue> m_readingQueue; // for a file
    std::shared_ptr<core::DispatchQueue> m_displayLinkQueue;

    mutable std::mutex m_mutex; // guards the five below
    std::shared_ptr<media::Asset> m_asset;
    std::shared_ptr<media::AssetReader> m_reader;
    std::shared_ptr<PixMovieWriter> m_synchronizedMovieWriter;
    std::shared_ptr<media::DisplayLink> m_displayLink;
    std::shared_ptr<media::PlayerItemVideoOutput> m_playerItemOutput;

    // On the reading thread only.
    std::shared_ptr<core::Clock> m_clock;
    PixFrameTime m_previousFrameTime;
    core::TimePoint m_previousActualFrameTime;

    // On the processing queue only.
    std::unique_ptr<PixYUVConversion> m_yuvConversion;
    int m_imageBufferWidth = 0;
    int m_imageBufferHeight = 0;

    std::atomic<bool> m_audioEncodingIsFinished{true};
    std::atomic<bool> m_videoEncodingIsFinished{false};
    std::atomic<bool> m_keepLooping{false};
    std::atomic<bool> m_runBenchmark{false};
    std::atomic<bool> m_playAtActualSpeed{false};
    std::atomic<bool> m_shouldRepeat{false};
    std::atomic<PixMovieDelegate*> m_delegate{nullptr};
};

} // namespace zm
