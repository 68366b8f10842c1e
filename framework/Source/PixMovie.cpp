#include "framework/Source/PixMovie.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixMovieWriter.h"
#include "framework/Source/PixYUVConversion.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Semaphore.h"
#include "platform/media/Asset.h"
#include "platform/media/AssetReader.h"
#include "platform/media/DisplayLink.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/SampleBuffer.h"

#include <chrono>

namespace zm {

std::shared_ptr<PixMovie> PixMovie::create(const std::filesystem::path& url) {
    return std::shared_ptr<PixMovie>(new PixMovie(url, nullptr, nullptr));
}

std::shared_ptr<PixMovie> PixMovie::create(std::shared_ptr<media::Asset> asset) {
    if (!asset)
        return nullptr;
    return std::shared_ptr<PixMovie>(new PixMovie({}, std::move(asset), nullptr));
}

std::shared_ptr<PixMovie> PixMovie::create(std::shared_ptr<media::PlayerItem> playerItem) {
    if (!playerItem)
        return nullptr;
    return std::shared_ptr<PixMovie>(new PixMovie({}, nullptr, std::move(playerItem)));
}

PixMovie::PixMovie(std::filesystem::path url, std::shared_ptr<media::Asset> asset,
                   std::shared_ptr<media::PlayerItem> playerItem)
    : m_url(std::move(url))
    , m_playerItem(std::move(playerItem))
    , m_asset(std::move(asset)) {
    runSynchronouslyOnContextQueue([&] { m_yuvConversion = std::make_unique<PixYUVConversion>(); });
    // No output texture exists until a frame needs one.
    deleteOutputTexture();
}

PixMovie::~PixMovie() {
    if (m_displayLink)
        m_displayLink->invalidate();
    runSynchronouslyOnContextQueue([&] { m_yuvConversion.reset(); });
}

std::shared_ptr<media::AssetReader> PixMovie::assetReader() const {
    const std::lock_guard lock(m_mutex);
    return m_reader;
}

std::shared_ptr<media::Asset> PixMovie::asset() const {
    const std::lock_guard lock(m_mutex);
    return m_asset;
}

std::string PixMovie::movieName() const {
    if (!m_url.empty())
        return m_url.string();
    const auto movie = asset();
    return movie ? movie->url().string() : std::string();
}

void PixMovie::enableSynchronizedEncodingUsingMovieWriter(std::shared_ptr<PixMovieWriter> movieWriter) {
    if (movieWriter)
        movieWriter->setEncodingLiveVideo(false);
    const std::lock_guard lock(m_mutex);
    m_synchronizedMovieWriter = std::move(movieWriter);
}

// Push and pull modes

void PixMovie::startProcessing() {
    if (m_playerItem) {
        processPlayerItem();
        return;
    }
    m_keepLooping.store(shouldRepeat());
    m_clock = core::currentClock();
    m_previousFrameTime = PixFrameTime::zero();
    m_previousActualFrameTime = m_clock->now();

    if (m_url.empty()) {
        processAsset();
        return;
    }
    // A file is opened and read on a queue of the movie's own, so that a long or paced movie never
    // holds up the processing queue between its frames.
    if (!m_readingQueue)
        m_readingQueue = core::DispatchQueue::serial("org.zembrix.Pix.movieReadingQueue");
    m_readingQueue->async([self = std::static_pointer_cast<PixMovie>(shared_from_this())] {
        auto opened = media::Asset::open(self->m_url);
        if (!opened) {
            core::log(core::LogLevel::Error, "Error reading from file at URL: " + self->m_url.string());
            return;
        }
        {
            const std::lock_guard lock(self->m_mutex);
            self->m_asset = std::move(opened).value();
        }
        self->processAsset();
    });
}

std::shared_ptr<media::AssetReader> PixMovie::createAssetReader() {
    const auto movie = asset();
    const auto videoTracks = movie->tracksWithMediaType(media::MediaType::Video);
    if (videoTracks.empty())
        return nullptr;
    auto reader = media::AssetReader::create(movie);
    reader->addOutput(media::AssetReaderOutput::trackOutput(videoTracks.front()));
    const auto audioTracks = movie->tracksWithMediaType(media::MediaType::Audio);
    if (const auto target = audioEncodingTarget(); target && !audioTracks.empty()) {
        target->setShouldInvalidateAudioSampleWhenDone(true);
        reader->addOutput(media::AssetReaderOutput::trackOutput(audioTracks.front()));
    }
    return reader;
}

void PixMovie::processAsset() {
    const std::shared_ptr<media::AssetReader> reader = createAssetReader();
    std::shared_ptr<media::AssetReaderOutput> videoOutput;
    std::shared_ptr<media::AssetReaderOutput> audioOutput;
    m_audioEncodingIsFinished.store(true);
    if (reader) {
        for (const auto& output : reader->outputs()) {
            if (output->mediaType() == media::MediaType::Audio) {
                audioOutput = output;
                m_audioEncodingIsFinished.store(false);
            } else {
                videoOutput = output;
            }
        }
    }
    // A file without pictures, or one that cannot be read, plays nothing.
    if (!videoOutput || !reader->startReading()) {
        core::log(core::LogLevel::Error, "Error reading from file at URL: " + movieName());
        return;
    }
    std::shared_ptr<PixMovieWriter> writer;
    {
        const std::lock_guard lock(m_mutex);
        m_reader = reader;
        writer = m_synchronizedMovieWriter;
    }

    if (writer) {
        // The callbacks hold the movie weakly: the writer must not keep it alive.
        const std::weak_ptr<PixMovie> weak = std::static_pointer_cast<PixMovie>(shared_from_this());
        writer->setVideoInputReadyCallback([weak, videoOutput] {
            const auto movie = weak.lock();
            return movie && movie->readNextVideoFrameFromOutput(*videoOutput);
        });
        if (audioOutput) {
            writer->setAudioInputReadyCallback([weak, audioOutput] {
                const auto movie = weak.lock();
                return movie && movie->readNextAudioSampleFromOutput(*audioOutput);
            });
        }
        writer->enableSynchronizationCallbacks();
        return;
    }

    while (reader->status() == media::AssetReader::Status::Reading && (!shouldRepeat() || m_keepLooping.load())) {
        readNextVideoFrameFromOutput(*videoOutput);
        if (audioOutput && !m_audioEncodingIsFinished.load())
            readNextAudioSampleFromOutput(*audioOutput);
    }
    if (reader->status() == media::AssetReader::Status::Completed) {
        reader->cancelReading();
        if (m_keepLooping.load()) {
            {
                const std::lock_guard lock(m_mutex);
                m_reader.reset();
            }
            core::DispatchQueue::main()->async(
                [self = std::static_pointer_cast<PixMovie>(shared_from_this())] { self->startProcessing(); });
        } else {
            endProcessing();
        }
    }
}

bool PixMovie::readNextVideoFrameFromOutput(media::AssetReaderOutput& readerVideoTrackOutput) {
    const std::shared_ptr<media::AssetReader> reader = assetReader();
    std::shared_ptr<PixMovieWriter> writer;
    {
        const std::lock_guard lock(m_mutex);
        writer = m_synchronizedMovieWriter;
    }
    if (!reader || reader->status() != media::AssetReader::Status::Reading || videoEncodingIsFinished()) {
        if (writer && reader && reader->status() == media::AssetReader::Status::Completed)
            endProcessing();
        return false;
    }
    const std::shared_ptr<media::SampleBuffer> sample = readerVideoTrackOutput.copyNextSampleBuffer();
    if (!sample) {
        if (!m_keepLooping.load()) {
            m_videoEncodingIsFinished.store(true);
            if (audioEncodingIsFinished())
                endProcessing();
        }
        return false;
    }
    if (playAtActualSpeed())
        paceSample(sample->presentationTime());
    runSynchronouslyOnContextQueue([&] { processMovieFrame(sample->imageBuffer(), sample->presentationTime()); });
    sample->invalidate();
    return true;
}

bool PixMovie::readNextAudioSampleFromOutput(media::AssetReaderOutput& readerAudioTrackOutput) {
    const std::shared_ptr<media::AssetReader> reader = assetReader();
    std::shared_ptr<PixMovieWriter> writer;
    {
        const std::lock_guard lock(m_mutex);
        writer = m_synchronizedMovieWriter;
    }
    if (!reader || reader->status() != media::AssetReader::Status::Reading || audioEncodingIsFinished()) {
        if (writer && reader && reader->status() == media::AssetReader::Status::Completed)
            endProcessing();
        return false;
    }
    const std::shared_ptr<media::SampleBuffer> sample = readerAudioTrackOutput.copyNextSampleBuffer();
    if (!sample) {
        if (!m_keepLooping.load()) {
            m_audioEncodingIsFinished.store(true);
            if (videoEncodingIsFinished())
                endProcessing();
        }
        return false;
    }
    if (const auto target = audioEncodingTarget())
        target->processAudioBuffer(sample);
    return true;
}

void PixMovie::paceSample(PixFrameTime sampleTime) {
    const double frameDifference = (sampleTime - m_previousFrameTime).inSeconds();
    // Nobody signals it: the wait ends when the clock reaches the frame's moment, fixed from the last
    // frame's so that time passing before the wait begins does not push it later.
    const core::TimePoint due = m_previousActualFrameTime + core::fromSeconds(frameDifference);
    if (due > m_clock->now())
        core::Semaphore(0).waitUntil(due);
    m_previousFrameTime = sampleTime;
    m_previousActualFrameTime = m_clock->now();
}

// Frames

void PixMovie::processMovieFrame(const std::shared_ptr<media::PixelBuffer>& movieFrame, PixFrameTime currentSampleTime) {
    if (!movieFrame || !PixContext::useImageProcessingContext())
        return;
    const auto start = std::chrono::steady_clock::now();
    const int width = movieFrame->width();
    const int height = movieFrame->height();
    const bool planar = movieFrame->isPlanar();
    if (planar) {
        if (width != m_imageBufferWidth || height != m_imageBufferHeight) {
            m_imageBufferWidth = width;
            m_imageBufferHeight = height;
            initializeOutputTextureIfNeeded();
            m_yuvConversion->setOutputTexture(m_outputTexture, width, height);
            notifyTargetsAboutNewOutputTexture();
        }
        m_yuvConversion->uploadPlanes(*movieFrame);
        if (!m_allTargetsWantMonochromeData)
            m_yuvConversion->convertYUVToRGBOutput();
    } else {
        initializeOutputTextureIfNeeded();
        PixYUVConversion::uploadBGRA(*movieFrame, m_outputTexture);
    }

    const core::Size size{static_cast<float>(width), static_cast<float>(height)};
    for (std::size_t position = 0; position < m_targets.size(); ++position) {
        PixInput& target = *m_targets[position];
        const int textureIndex = textureIndexOfTarget(position);
        target.setInputSize(size, textureIndex);
        const bool monochrome = planar && target.wantsMonochromeInput();
        target.setCurrentlyReceivingMonochromeInput(monochrome);
        target.setInputTexture(monochrome ? m_yuvConversion->luminanceTexture() : m_outputTexture, textureIndex);
        target.setTextureDelegate(this, textureIndex);
        target.newFrameReadyAtTime(currentSampleTime, textureIndex);
    }

    if (runBenchmark()) {
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        core::logf(core::LogLevel::Info, "Current frame time : %f ms", elapsed.count());
    }
}

void PixMovie::endProcessing() {
    m_keepLooping.store(false);
    std::shared_ptr<PixMovieWriter> writer;
    {
        const std::lock_guard lock(m_mutex);
        if (m_displayLink)
            m_displayLink->setPaused(true);
        writer = m_synchronizedMovieWriter;
    }
    runSynchronouslyOnContextQueue([&] {
        for (const auto& target : m_targets)
            target->endProcessing();
    });
    if (writer) {
        writer->setVideoInputReadyCallback([] { return false; });
        writer->setAudioInputReadyCallback([] { return false; });
    }
    if (PixMovieDelegate* delegate = m_delegate.exchange(nullptr))
        delegate->didCompletePlayingMovie();
}

void PixMovie::cancelProcessing() {
    if (const auto reader = assetReader())
        reader->cancelReading();
    endProcessing();
}

// Player-item mode

void PixMovie::processPlayerItem() {
    const std::weak_ptr<PixMovie> weak = std::static_pointer_cast<PixMovie>(shared_from_this());
    const std::lock_guard lock(m_mutex);
    if (m_displayLink)
        return;
    m_displayLinkQueue = core::DispatchQueue::serial("org.zembrix.Pix.displayLink");
    m_displayLink = media::DisplayLink::create(
        [weak](media::DisplayLink& link) {
            if (const auto movie = weak.lock())
                movie->displayLinkCallback(link);
        },
        m_displayLinkQueue);
    m_playerItemOutput = media::PlayerItemVideoOutput::create(media::PixelFormat::BiPlanar420FullRange);
    // The pictures begin to change when the item plays: the link starts then.
    m_playerItemOutput->setDelegate(
        [weak] {
            if (const auto movie = weak.lock()) {
                const std::lock_guard lock(movie->m_mutex);
                movie->m_displayLink->setPaused(false);
            }
        },
        m_displayLinkQueue);
    m_playerItem->addOutput(m_playerItemOutput);
    m_playerItemOutput->requestNotificationOfMediaDataChange();
}

void PixMovie::displayLinkCallback(media::DisplayLink& link) {
    std::shared_ptr<media::PlayerItemVideoOutput> output;
    {
        const std::lock_guard lock(m_mutex);
        output = m_playerItemOutput;
    }
    const PixFrameTime itemTime = output->itemTimeForHostTime(link.timestamp() + link.duration());
    if (!output->hasNewPixelBufferForItemTime(itemTime))
        return;
    const std::shared_ptr<media::PixelBuffer> frame = output->copyPixelBufferForItemTime(itemTime);
    runSynchronouslyOnContextQueue([&] { processMovieFrame(frame, itemTime); });
}

} // namespace zm
