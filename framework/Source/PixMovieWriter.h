#pragma once

#include "framework/Source/PixAudioEncodingTarget.h"
#include "framework/Source/PixInput.h"
#include "platform/core/Error.h"
#include "platform/core/Value.h"
#include "platform/media/AssetWriter.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace core {
class DispatchQueue;
}

namespace media {
class AssetWriterInput;
class AssetWriterInputPixelBufferAdaptor;
class PixelBuffer;
class SampleBuffer;
} // namespace media

namespace zm {

class PixRenderTarget;
class PixTextureCopy;

// Told how a recording ended. Both operations are optional.
class PixMovieWriterDelegate {
public:
    virtual ~PixMovieWriterDelegate() = default;
    virtual void movieRecordingCompleted() {}
    virtual void movieRecordingFailedWithError(const core::Error&) {}
};

// A sink that records the graph into a movie file: each frame it gets is drawn at the movie's size into
// a picture of its own (taken from a pool, so that no frame is drawn over one still waiting for the
// encoder) and appended with its time; a source's sound comes through processAudioBuffer.
//
// The session starts at the time of the first frame or sound sample. A live writer (the default, for
// cameras) drops what the encoder is not ready for; a file writer ("EncodingLiveVideo" NO in the
// settings, or a movie source's synchronised encoding) waits for it, in steps of 0.1 s for pictures
// and 0.5 s for sound.
//
// Threads: frames come on the processing queue, sound on the source's thread; the writer's own queue
// orders the session start, live appends, finishing and cancelling after them. Public operations may be
// called from any thread.
class PixMovieWriter : public PixInput,
                       public PixAudioEncodingTarget,
                       public std::enable_shared_from_this<PixMovieWriter> {
public:
    // The key of the output settings that makes a file writer (false) or a live one (true).
    static const char* const EncodingLiveVideoKey;

    using CompletionBlock = std::function<void()>;
    using FailureBlock = std::function<void(const core::Error&)>;
    using InputReadyCallback = std::function<bool()>;

    // A QuickTime movie of H.264 at the size.
    static std::shared_ptr<PixMovieWriter> create(const std::filesystem::path& movieURL, core::Size newSize);
    // nullptr, logged, for settings without the codec, width or height, or with values the encoder
    // cannot take. A file that cannot be made gives a writer that reports the error when recording
    // starts and then ignores what it is given.
    static std::shared_ptr<PixMovieWriter> create(const std::filesystem::path& movieURL, core::Size newSize,
                                                  media::FileType newFileType,
                                                  std::optional<core::Dictionary> outputSettings);
    ~PixMovieWriter() override;
    PixMovieWriter(const PixMovieWriter&) = delete;
    PixMovieWriter& operator=(const PixMovieWriter&) = delete;

    void startRecording();
    // Records the picture shown turned or mirrored so.
    void startRecordingInOrientation(const core::AffineTransform& orientationTransform);
    void finishRecording();
    // The handler runs once the file is complete, or at once (on the processing queue) when there is
    // nothing to finish.
    void finishRecordingWithCompletionHandler(CompletionBlock handler);
    // Stops and removes the file; nothing once the file is complete.
    void cancelRecording();

    // Appends a run of sound (from the source's thread).
    void processAudioBuffer(const std::shared_ptr<media::SampleBuffer>& audioBuffer) override;
    // Pull mode: the encoder asks the callbacks for each next frame and sound sample (a movie source
    // sets them first).
    void enableSynchronizationCallbacks();

    bool hasAudioTrack() const override { return m_hasAudioTrack.load(); }
    void setHasAudioTrack(bool newValue) override;
    // Without settings, AAC at 48000 Hz, mono, 64 kbit/s; with shouldPassthroughAudio, uncompressed.
    void setHasAudioTrack(bool newValue, std::optional<core::Dictionary> audioOutputSettings);

    // The length recorded so far: from the session start to the last frame, or to the last sound sample
    // when no frame came; zero before the session starts.
    PixFrameTime duration() const;

    core::AffineTransform transform() const;
    void setTransform(const core::AffineTransform& transform);
    core::Dictionary metaData() const;
    void setMetaData(core::Dictionary metaData);

    bool encodingLiveVideo() const { return m_encodingLiveVideo.load(); }
    void setEncodingLiveVideo(bool newValue) { m_encodingLiveVideo.store(newValue); }
    bool shouldPassthroughAudio() const { return m_shouldPassthroughAudio.load(); }
    void setShouldPassthroughAudio(bool newValue) { m_shouldPassthroughAudio.store(newValue); }
    bool shouldInvalidateAudioSampleWhenDone() const { return m_shouldInvalidateAudioSampleWhenDone.load(); }
    void setShouldInvalidateAudioSampleWhenDone(bool newValue) override {
        m_shouldInvalidateAudioSampleWhenDone.store(newValue);
    }
    // While paused, pull mode asks for nothing.
    bool isPaused() const { return m_paused.load(); }
    void setPaused(bool newValue) { m_paused.store(newValue); }
    void setEnabled(bool newValue) { m_enabled.store(newValue); }

    void setCompletionBlock(CompletionBlock block);
    void setFailureBlock(FailureBlock block);
    void setVideoInputReadyCallback(InputReadyCallback callback);
    void setAudioInputReadyCallback(InputReadyCallback callback);
    InputReadyCallback videoInputReadyCallback() const;
    InputReadyCallback audioInputReadyCallback() const;
    // Not owned.
    void setDelegate(PixMovieWriterDelegate* delegate) { m_delegate.store(delegate); }

    // The writer underneath; nullptr when the file could not be made.
    const std::shared_ptr<media::AssetWriter>& assetWriter() const { return m_assetWriter; }
    core::Size videoSize() const { return m_videoSize; }

    // PixInput
    void newFrameReadyAtTime(PixFrameTime frameTime, int textureIndex) override;
    void setInputTexture(GLuint newInputTexture, int textureIndex) override;
    // The writer draws its input as it comes, unturned, at the movie's size: it needs no delegate, no
    // size and no rotation from the source.
    void setTextureDelegate(PixTextureDelegate*, int) override {}
    int nextAvailableTextureIndex() const override { return 0; }
    void setInputSize(core::Size, int) override {}
    void setInputRotation(PixInputRotation, int) override {}
    core::Size maximumOutputSize() const override { return m_videoSize; }
    // With a completion block, calls it the first time; without, tells the delegate every time.
    void endProcessing() override;
    bool shouldIgnoreUpdatesToThisTarget() const override { return false; }
    bool enabled() const override { return m_enabled.load(); }
    void conserveMemoryForNextFrame() override {}
    bool wantsMonochromeInput() const override { return false; }
    void setCurrentlyReceivingMonochromeInput(bool) override {}

private:
    PixMovieWriter(const std::filesystem::path& movieURL, core::Size newSize, media::FileType newFileType,
                   core::Dictionary videoSettings, bool encodingLiveVideo);

    // On the processing queue: draws the input into a fresh picture; nullptr when none is free.
    std::shared_ptr<media::PixelBuffer> renderAtInternalSize();
    // On the writer's queue: starts writing (unless pull mode starts it) and the session, once.
    void startSessionIfNeeded(PixFrameTime time, const InputReadyCallback& pullCallback);
    void appendVideo(const std::shared_ptr<media::PixelBuffer>& frame, PixFrameTime frameTime);
    void appendAudio(const std::shared_ptr<media::SampleBuffer>& audioBuffer);
    void markVideoFinished();
    void markAudioFinished();
    void reportFailure(const core::Error& error);
    void destroyDataFBO();

    const std::filesystem::path m_movieURL;
    const core::Size m_videoSize;
    std::shared_ptr<core::DispatchQueue> m_movieWritingQueue;
    std::shared_ptr<core::DispatchQueue> m_videoQueue; // pull mode
    std::shared_ptr<core::DispatchQueue> m_audioQueue; // pull mode

    std::shared_ptr<media::AssetWriter> m_assetWriter;
    std::optional<core::Error> m_creationError;
    std::shared_ptr<media::AssetWriterInput> m_assetWriterVideoInput;
    std::shared_ptr<media::AssetWriterInputPixelBufferAdaptor> m_assetWriterPixelBufferInput;
    std::shared_ptr<media::AssetWriterInput> m_assetWriterAudioInput; // guarded by m_mutex

    // On the processing queue only.
    std::unique_ptr<PixTextureCopy> m_colorSwizzlingProgram;
    std::unique_ptr<PixRenderTarget> m_renderTarget;
    GLuint m_inputTextureForMovieRendering = 0;

    mutable std::mutex m_mutex; // guards the times and blocks below
    PixFrameTime m_startTime;
    PixFrameTime m_previousFrameTime = PixFrameTime::negativeInfinity();
    PixFrameTime m_previousAudioTime = PixFrameTime::negativeInfinity();
    CompletionBlock m_completionBlock;
    FailureBlock m_failureBlock;
    InputReadyCallback m_videoInputReadyCallback;
    InputReadyCallback m_audioInputReadyCallback;
    bool m_alreadyFinishedRecording = false;

    std::atomic<bool> m_isRecording{false};
    std::atomic<bool> m_videoEncodingIsFinished{false};
    std::atomic<bool> m_audioEncodingIsFinished{false};
    std::atomic<bool> m_hasAudioTrack{false};
    std::atomic<bool> m_encodingLiveVideo{true};
    std::atomic<bool> m_shouldPassthroughAudio{false};
    std::atomic<bool> m_shouldInvalidateAudioSampleWhenDone{false};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_enabled{true};
    std::atomic<PixMovieWriterDelegate*> m_delegate{nullptr};
};

} // namespace zm
