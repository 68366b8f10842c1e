#include "framework/Source/PixMovieWriter.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixRenderTarget.h"
#include "framework/Source/PixTextureCopy.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/PixelBufferPool.h"
#include "platform/media/SampleBuffer.h"

#include <chrono>
#include <thread>

namespace zm {

const char* const PixMovieWriter::EncodingLiveVideoKey = "EncodingLiveVideo";

namespace {

// Pictures in flight: those waiting for the encoder, one being encoded, one being drawn, and live
// appends still queued. A live frame that finds none free is dropped.
constexpr std::size_t kPixelBufferPoolSize = media::AssetWriterInput::kPendingSampleLimit + 3;

// A file writer waits this long between looks at a busy input.
constexpr core::Duration kVideoWaitStep = std::chrono::milliseconds(100);
constexpr core::Duration kAudioWaitStep = std::chrono::milliseconds(500);

void logDrop(const char* what, PixFrameTime time) {
    core::log(core::LogLevel::Warning, what + time.description());
}

} // namespace

std::shared_ptr<PixMovieWriter> PixMovieWriter::create(const std::filesystem::path& movieURL, core::Size newSize) {
    return create(movieURL, newSize, media::FileType::QuickTimeMovie, std::nullopt);
}

std::shared_ptr<PixMovieWriter> PixMovieWriter::create(const std::filesystem::path& movieURL, core::Size newSize,
                                                       media::FileType newFileType,
                                                       std::optional<core::Dictionary> outputSettings) {
    bool encodingLiveVideo = true;
    core::Dictionary videoSettings;
    if (outputSettings) {
        videoSettings = std::move(*outputSettings);
        if (const core::Value* live = videoSettings.find(EncodingLiveVideoKey)) {
            if (live->isNumber())
                encodingLiveVideo = live->boolValue();
            videoSettings.remove(EncodingLiveVideoKey);
        }
    } else {
        // 4:2:0 pictures have even sides: an odd last row or column is scaled away.
        videoSettings = {{media::VideoCodecKey, media::VideoCodecH264},
                         {media::VideoWidthKey, PixPixelsWide(newSize) & ~1},
                         {media::VideoHeightKey, PixPixelsHigh(newSize) & ~1}};
    }
    if (const auto checked = media::VideoSettings::read(videoSettings); !checked) {
        core::log(core::LogLevel::Error, checked.error().description);
        return nullptr;
    }
    if (PixPixelsWide(newSize) < 1 || PixPixelsHigh(newSize) < 1) {
        core::log(core::LogLevel::Error, "A movie needs a size of at least one pixel");
        return nullptr;
    }
    return std::shared_ptr<PixMovieWriter>(
        new PixMovieWriter(movieURL, newSize, newFileType, std::move(videoSettings), encodingLiveVideo));
}

PixMovieWriter::PixMovieWriter(const std::filesystem::path& movieURL, core::Size newSize,
                               media::FileType newFileType, core::Dictionary videoSettings, bool encodingLiveVideo)
    : m_movieURL(movieURL)
    , m_videoSize(newSize)
    , m_movieWritingQueue(core::DispatchQueue::serial("org.zembrix.Pix.movieWritingQueue"))
    , m_encodingLiveVideo(encodingLiveVideo) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        // The picture is read back red first, and the encoder takes blue first.
        m_colorSwizzlingProgram = std::make_unique<PixTextureCopy>(PixColorSwizzlingFragmentShader);
    });

    auto writer = media::AssetWriter::create(movieURL, newFileType);
    if (!writer) {
        core::log(core::LogLevel::Error, "Error: " + writer.error().text());
        m_creationError = writer.error();
        return;
    }
    m_assetWriter = std::move(writer).value();
    m_assetWriterVideoInput = *media::AssetWriterInput::create(media::MediaType::Video, std::move(videoSettings));
    m_assetWriterVideoInput->setExpectsMediaDataInRealTime(encodingLiveVideo);
    m_assetWriterPixelBufferInput = media::AssetWriterInputPixelBufferAdaptor::create(
        m_assetWriterVideoInput, media::PixelFormat::BGRA, PixPixelsWide(newSize), PixPixelsHigh(newSize),
        kPixelBufferPoolSize);
    m_assetWriter->addInput(m_assetWriterVideoInput);
}

PixMovieWriter::~PixMovieWriter() {
    destroyDataFBO();
}

void PixMovieWriter::destroyDataFBO() {
    runSynchronouslyOnContextQueue([&] {
        m_renderTarget.reset();
        m_colorSwizzlingProgram.reset();
    });
}

// Recording

void PixMovieWriter::startRecording() {
    if (!m_assetWriter) {
        reportFailure(*m_creationError);
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_alreadyFinishedRecording = false;
        m_startTime = PixFrameTime::invalidTime();
    }
    m_isRecording.store(true);
    m_movieWritingQueue->sync([&] {
        const std::lock_guard lock(m_mutex);
        if (!m_audioInputReadyCallback)
            m_assetWriter->startWriting();
    });
}

void PixMovieWriter::startRecordingInOrientation(const core::AffineTransform& orientationTransform) {
    setTransform(orientationTransform);
    startRecording();
}

void PixMovieWriter::reportFailure(const core::Error& error) {
    FailureBlock failureBlock;
    {
        const std::lock_guard lock(m_mutex);
        failureBlock = m_failureBlock;
    }
    if (failureBlock)
        failureBlock(error);
    else if (PixMovieWriterDelegate* delegate = m_delegate.load())
        delegate->movieRecordingFailedWithError(error);
}

void PixMovieWriter::startSessionIfNeeded(PixFrameTime time, const InputReadyCallback& pullCallback) {
    const std::lock_guard lock(m_mutex);
    if (m_startTime.isValid())
        return;
    if (!pullCallback && m_assetWriter->status() != media::AssetWriter::Status::Writing)
        m_assetWriter->startWriting();
    m_assetWriter->startSessionAtSourceTime(time);
    m_startTime = time;
}

void PixMovieWriter::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    // Stills (indefinite), frames without a time and repeats of the last time have no place in a movie.
    if (!m_isRecording.load() || !m_assetWriter || !frameTime.isNumeric())
        return;
    {
        const std::lock_guard lock(m_mutex);
        if (frameTime == m_previousFrameTime)
            return;
    }
    InputReadyCallback pullCallback;
    {
        const std::lock_guard lock(m_mutex);
        pullCallback = m_videoInputReadyCallback;
    }
    m_movieWritingQueue->sync([&] { startSessionIfNeeded(frameTime, pullCallback); });

    const bool live = encodingLiveVideo();
    if (live && !m_assetWriterVideoInput->isReadyForMoreMediaData()) {
        logDrop("1: Had to drop a video frame: ", frameTime);
        return;
    }
    // A file source waits for the encoder before it draws, so that a picture is always free.
    while (!live && !m_assetWriterVideoInput->isReadyForMoreMediaData() && !m_videoEncodingIsFinished.load())
        m_assetWriterVideoInput->waitUntilReadyForMoreMediaData(kVideoWaitStep);

    const std::shared_ptr<media::PixelBuffer> frame = renderAtInternalSize();
    {
        const std::lock_guard lock(m_mutex);
        m_previousFrameTime = frameTime;
    }
    if (!frame) {
        logDrop("1: Had to drop a video frame: ", frameTime);
        return;
    }
    if (live) {
        m_movieWritingQueue->async([self = shared_from_this(), frame, frameTime] { self->appendVideo(frame, frameTime); });
    } else {
        appendVideo(frame, frameTime);
    }
}

std::shared_ptr<media::PixelBuffer> PixMovieWriter::renderAtInternalSize() {
    if (!PixContext::useImageProcessingContext() || !m_colorSwizzlingProgram)
        return nullptr;
    // Every frame gets a picture of its own: one still waiting for the encoder is never drawn over.
    std::shared_ptr<media::PixelBuffer> frame = m_assetWriterPixelBufferInput->pixelBufferPool()->createPixelBuffer();
    if (!frame)
        return nullptr;
    if (!m_renderTarget)
        m_renderTarget = PixRenderTarget::create(PixPixelsWide(m_videoSize), PixPixelsHigh(m_videoSize));
    if (!m_renderTarget)
        return nullptr;
    m_renderTarget->bind();
    m_colorSwizzlingProgram->draw(m_inputTextureForMovieRendering, PixTextureCopy::kFullScreenVertices,
                                  PixTextureCopy::kUnrotatedTextureCoordinates, {1, 0, 0, 1});
    m_renderTarget->readPixels(frame->baseAddress(), frame->bytesPerRow());
    return frame;
}

void PixMovieWriter::appendVideo(const std::shared_ptr<media::PixelBuffer>& frame, PixFrameTime frameTime) {
    media::AssetWriterInput& input = *m_assetWriterVideoInput;
    while (!input.isReadyForMoreMediaData() && !encodingLiveVideo() && !m_videoEncodingIsFinished.load())
        input.waitUntilReadyForMoreMediaData(kVideoWaitStep);
    if (!input.isReadyForMoreMediaData()) {
        logDrop("2: Had to drop a video frame: ", frameTime);
        return;
    }
    if (!m_assetWriterPixelBufferInput->appendPixelBuffer(frame, frameTime))
        logDrop("Problem appending pixel buffer at time: ", frameTime);
}

void PixMovieWriter::processAudioBuffer(const std::shared_ptr<media::SampleBuffer>& audioBuffer) {
    if (!m_isRecording.load() || !hasAudioTrack() || !audioBuffer || !m_assetWriter)
        return;
    const PixFrameTime time = audioBuffer->presentationTime();
    InputReadyCallback pullCallback;
    std::shared_ptr<media::AssetWriterInput> input;
    {
        const std::lock_guard lock(m_mutex);
        pullCallback = m_audioInputReadyCallback;
        input = m_assetWriterAudioInput;
    }
    if (!input)
        return;
    m_movieWritingQueue->sync([&] { startSessionIfNeeded(time, pullCallback); });

    const bool invalidate = shouldInvalidateAudioSampleWhenDone();
    if (encodingLiveVideo() && !input->isReadyForMoreMediaData()) {
        logDrop("1: Had to drop an audio frame: ", time);
        if (invalidate)
            audioBuffer->invalidate();
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_previousAudioTime = time;
    }
    if (encodingLiveVideo())
        m_movieWritingQueue->async([self = shared_from_this(), audioBuffer] { self->appendAudio(audioBuffer); });
    else
        appendAudio(audioBuffer);
}

void PixMovieWriter::appendAudio(const std::shared_ptr<media::SampleBuffer>& audioBuffer) {
    std::shared_ptr<media::AssetWriterInput> input;
    {
        const std::lock_guard lock(m_mutex);
        input = m_assetWriterAudioInput;
    }
    while (!input->isReadyForMoreMediaData() && !encodingLiveVideo() && !m_audioEncodingIsFinished.load())
        input->waitUntilReadyForMoreMediaData(kAudioWaitStep);
    const PixFrameTime time = audioBuffer->presentationTime();
    if (!input->isReadyForMoreMediaData())
        logDrop("2: Had to drop an audio frame ", time);
    else if (!input->appendSampleBuffer(audioBuffer))
        logDrop("Problem appending audio buffer at time: ", time);
    if (shouldInvalidateAudioSampleWhenDone())
        audioBuffer->invalidate();
}

void PixMovieWriter::finishRecording() {
    finishRecordingWithCompletionHandler(nullptr);
}

void PixMovieWriter::finishRecordingWithCompletionHandler(CompletionBlock handler) {
    runSynchronouslyOnContextQueue([&] {
        m_movieWritingQueue->sync([&] {
            m_isRecording.store(false);
            using Status = media::AssetWriter::Status;
            const Status status = m_assetWriter ? m_assetWriter->status() : Status::Unknown;
            if (status == Status::Completed || status == Status::Cancelled || status == Status::Unknown) {
                if (handler)
                    runAsynchronouslyOnContextQueue(handler);
                return;
            }
            if (status == Status::Writing) {
                markVideoFinished();
                markAudioFinished();
            }
            m_assetWriter->finishWriting(handler ? handler : [] {});
        });
    });
}

void PixMovieWriter::cancelRecording() {
    if (!m_assetWriter || m_assetWriter->status() == media::AssetWriter::Status::Completed)
        return;
    m_isRecording.store(false);
    m_movieWritingQueue->sync([&] {
        {
            const std::lock_guard lock(m_mutex);
            m_alreadyFinishedRecording = true;
        }
        if (m_assetWriter->status() == media::AssetWriter::Status::Writing) {
            markVideoFinished();
            markAudioFinished();
        }
        m_assetWriter->cancelWriting();
    });
}

void PixMovieWriter::markVideoFinished() {
    if (!m_videoEncodingIsFinished.exchange(true))
        m_assetWriterVideoInput->markAsFinished();
}

void PixMovieWriter::markAudioFinished() {
    std::shared_ptr<media::AssetWriterInput> input;
    {
        const std::lock_guard lock(m_mutex);
        input = m_assetWriterAudioInput;
    }
    if (input && !m_audioEncodingIsFinished.exchange(true))
        input->markAsFinished();
}

// Pull mode

void PixMovieWriter::enableSynchronizationCallbacks() {
    if (!m_assetWriter)
        return;
    InputReadyCallback videoCallback;
    InputReadyCallback audioCallback;
    std::shared_ptr<media::AssetWriterInput> audioInput;
    {
        const std::lock_guard lock(m_mutex);
        videoCallback = m_videoInputReadyCallback;
        audioCallback = m_audioInputReadyCallback;
        audioInput = m_assetWriterAudioInput;
    }
    // The encoder asks while its input is ready; a callback that answers false has nothing more, and
    // the input is then finished (on the writer's queue, in order with the appends).
    const auto pull = [weak = weak_from_this()](media::AssetWriterInput& input, const InputReadyCallback& callback,
                                                bool video) {
        const auto self = weak.lock();
        if (!self)
            return;
        if (self->isPaused()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return;
        }
        std::atomic<bool>& finished = video ? self->m_videoEncodingIsFinished : self->m_audioEncodingIsFinished;
        while (input.isReadyForMoreMediaData() && !self->isPaused()) {
            if (!callback() && !finished.load()) {
                self->m_movieWritingQueue->async([self, video] {
                    if (self->m_assetWriter->status() == media::AssetWriter::Status::Writing)
                        video ? self->markVideoFinished() : self->markAudioFinished();
                });
            }
        }
    };
    if (videoCallback) {
        if (m_assetWriter->status() != media::AssetWriter::Status::Writing)
            m_assetWriter->startWriting();
        m_videoQueue = core::DispatchQueue::serial("org.zembrix.Pix.videoReadingQueue");
        m_assetWriterVideoInput->requestMediaDataWhenReady(
            m_videoQueue, [pull, input = m_assetWriterVideoInput.get(), videoCallback] { pull(*input, videoCallback, true); });
    }
    if (audioCallback && audioInput) {
        m_audioQueue = core::DispatchQueue::serial("org.zembrix.Pix.audioReadingQueue");
        audioInput->requestMediaDataWhenReady(
            m_audioQueue, [pull, input = audioInput.get(), audioCallback] { pull(*input, audioCallback, false); });
    }
}

// Settings

void PixMovieWriter::setHasAudioTrack(bool newValue) {
    setHasAudioTrack(newValue, std::nullopt);
}

void PixMovieWriter::setHasAudioTrack(bool newValue, std::optional<core::Dictionary> audioOutputSettings) {
    m_hasAudioTrack.store(newValue);
    if (!newValue || !m_assetWriter)
        return;
    const std::lock_guard lock(m_mutex);
    if (m_assetWriterAudioInput)
        return;
    if (shouldPassthroughAudio()) {
        audioOutputSettings.reset();
    } else if (!audioOutputSettings) {
        audioOutputSettings = core::Dictionary{{media::FormatIDKey, media::AudioFormatMPEG4AAC},
                                               {media::NumberOfChannelsKey, 1},
                                               {media::SampleRateKey, 48000.0},
                                               {media::ChannelLayoutKey, media::ChannelLayoutMono},
                                               {media::EncoderBitRateKey, 64000}};
    }
    auto input = media::AssetWriterInput::create(media::MediaType::Audio, std::move(audioOutputSettings));
    if (!input) {
        core::log(core::LogLevel::Error, input.error().description);
        return;
    }
    (*input)->setExpectsMediaDataInRealTime(encodingLiveVideo());
    if (!m_assetWriter->canAddInput(**input)) {
        core::log(core::LogLevel::Error, "An audio track can only be added before recording starts");
        return;
    }
    m_assetWriter->addInput(*input);
    m_assetWriterAudioInput = std::move(input).value();
}

PixFrameTime PixMovieWriter::duration() const {
    const std::lock_guard lock(m_mutex);
    if (!m_startTime.isValid())
        return PixFrameTime::zero();
    if (!m_previousFrameTime.isNegativeInfinity())
        return m_previousFrameTime - m_startTime;
    if (!m_previousAudioTime.isNegativeInfinity())
        return m_previousAudioTime - m_startTime;
    return PixFrameTime::zero();
}

core::AffineTransform PixMovieWriter::transform() const {
    return m_assetWriterVideoInput ? m_assetWriterVideoInput->transform() : core::AffineTransform{0, 0, 0, 0, 0, 0};
}

void PixMovieWriter::setTransform(const core::AffineTransform& transform) {
    if (m_assetWriterVideoInput)
        m_assetWriterVideoInput->setTransform(transform);
}

core::Dictionary PixMovieWriter::metaData() const {
    return m_assetWriter ? m_assetWriter->metadata() : core::Dictionary{};
}

void PixMovieWriter::setMetaData(core::Dictionary metaData) {
    if (m_assetWriter)
        m_assetWriter->setMetadata(std::move(metaData));
}

void PixMovieWriter::setCompletionBlock(CompletionBlock block) {
    const std::lock_guard lock(m_mutex);
    m_completionBlock = std::move(block);
}

void PixMovieWriter::setFailureBlock(FailureBlock block) {
    const std::lock_guard lock(m_mutex);
    m_failureBlock = std::move(block);
}

void PixMovieWriter::setVideoInputReadyCallback(InputReadyCallback callback) {
    const std::lock_guard lock(m_mutex);
    m_videoInputReadyCallback = std::move(callback);
}

void PixMovieWriter::setAudioInputReadyCallback(InputReadyCallback callback) {
    const std::lock_guard lock(m_mutex);
    m_audioInputReadyCallback = std::move(callback);
}

PixMovieWriter::InputReadyCallback PixMovieWriter::videoInputReadyCallback() const {
    const std::lock_guard lock(m_mutex);
    return m_videoInputReadyCallback;
}

PixMovieWriter::InputReadyCallback PixMovieWriter::audioInputReadyCallback() const {
    const std::lock_guard lock(m_mutex);
    return m_audioInputReadyCallback;
}

// PixInput

void PixMovieWriter::setInputTexture(GLuint newInputTexture, int) {
    m_inputTextureForMovieRendering = newInputTexture;
}

void PixMovieWriter::endProcessing() {
    CompletionBlock completion;
    {
        const std::lock_guard lock(m_mutex);
        if (m_completionBlock) {
            if (m_alreadyFinishedRecording)
                return;
            m_alreadyFinishedRecording = true;
            completion = m_completionBlock;
        }
    }
    if (completion)
        completion();
    else if (PixMovieWriterDelegate* delegate = m_delegate.load())
        delegate->movieRecordingCompleted();
}

} // namespace zm
