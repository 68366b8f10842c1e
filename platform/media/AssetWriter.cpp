#include "platform/media/AssetWriter.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/FFmpeg.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/WriterCore.h"

#include <system_error>

namespace media {

core::Result<std::shared_ptr<AssetWriter>> AssetWriter::create(const std::filesystem::path& outputURL,
                                                               FileType outputFileType) {
    ffmpeg::quietLibraryLogs();
    std::error_code ignored;
    if (std::filesystem::exists(outputURL, ignored))
        return mediaError(MediaErrorCannotCreateFile, "A file already exists at " + outputURL.string());
    AVFormatContext* format = nullptr;
    const char* muxer = outputFileType == FileType::MPEG4 ? "mp4" : "mov";
    if (const int result = avformat_alloc_output_context2(&format, nullptr, muxer, outputURL.c_str()); result < 0)
        return ffmpeg::error(MediaErrorCannotCreateFile, "Cannot make a movie writer", result);
    if (const int result = avio_open(&format->pb, outputURL.c_str(), AVIO_FLAG_WRITE); result < 0) {
        avformat_free_context(format);
        return ffmpeg::error(MediaErrorCannotCreateFile, "Cannot make the file " + outputURL.string(), result);
    }
    return std::shared_ptr<AssetWriter>(new AssetWriter(outputURL, outputFileType, format));
}

AssetWriter::AssetWriter(std::filesystem::path outputURL, FileType outputFileType, AVFormatContext* format)
    : m_outputURL(std::move(outputURL))
    , m_outputFileType(outputFileType)
    , m_core(std::make_shared<WriterCore>())
    , m_format(format) {}

AssetWriter::~AssetWriter() {
    bool started = false;
    {
        const auto lock = m_core->wait.lock();
        started = m_core->status != Status::Unknown;
        if (m_core->status == Status::Writing) {
            m_core->status = Status::Cancelled;
            m_core->wait.notifyAll();
        }
    }
    if (m_thread.joinable())
        m_thread.join();
    if (!started)
        closeFile(false);
    avformat_free_context(m_format);
    // A request block may hold its own input, and so the core that holds the block.
    const auto lock = m_core->wait.lock();
    for (WriterCore::Track& track : m_core->tracks) {
        track.requestBlock = nullptr;
        track.requestQueue = nullptr;
    }
}

bool AssetWriter::canAddInput(const AssetWriterInput& input) const {
    const auto lock = m_core->wait.lock();
    return m_core->status == Status::Unknown && !input.m_core && !m_core->trackOf(input);
}

void AssetWriter::addInput(const std::shared_ptr<AssetWriterInput>& input) {
    if (!input || !canAddInput(*input))
        return;
    const auto lock = m_core->wait.lock();
    input->m_core = m_core;
    m_inputs.push_back(input);
    m_core->tracks.push_back(WriterCore::Track{input.get(), {}, false, nullptr, nullptr, false, nullptr});
}

std::vector<std::shared_ptr<AssetWriterInput>> AssetWriter::inputs() const {
    const auto lock = m_core->wait.lock();
    return m_inputs;
}

core::Dictionary AssetWriter::metadata() const {
    const auto lock = m_core->wait.lock();
    return m_core->metadata;
}

void AssetWriter::setMetadata(core::Dictionary metadata) {
    const auto lock = m_core->wait.lock();
    m_core->metadata = std::move(metadata);
}

bool AssetWriter::startWriting() {
    auto lock = m_core->wait.lock();
    if (m_core->status != Status::Unknown)
        return false;
    const auto failStart = [&](core::Error failure) {
        m_core->status = Status::Failed;
        m_core->error = std::move(failure);
        closeFile(false);
        m_core->wait.notifyAll();
        return false;
    };
    if (m_core->tracks.empty())
        return failStart(mediaError(MediaErrorEncodingFailed, "A movie needs at least one track"));

    for (WriterCore::Track& track : m_core->tracks) {
        const AssetWriterInput& input = *track.input;
        core::Result<std::unique_ptr<TrackEncoder>> encoder = mediaError(MediaErrorEncodingFailed, "");
        if (input.mediaType() == MediaType::Video) {
            encoder = VideoTrackEncoder::create(*m_format, *VideoSettings::read(*input.outputSettings()),
                                                input.m_realTime, input.m_transform);
        } else {
            std::optional<AudioSettings> settings;
            if (input.outputSettings())
                settings = *AudioSettings::read(*input.outputSettings());
            encoder = AudioTrackEncoder::create(*m_format, settings);
        }
        if (!encoder)
            return failStart(encoder.error());
        track.encoder = std::move(encoder).value();
    }
    for (const std::string& key : m_core->metadata.keys())
        av_dict_set(&m_format->metadata, key.c_str(), m_core->metadata.find(key)->stringValue().c_str(), 0);
    if (const int result = avformat_write_header(m_format, nullptr); result < 0)
        return failStart(ffmpeg::error(MediaErrorEncodingFailed, "Cannot write the movie's header", result));

    m_core->status = Status::Writing;
    m_thread = core::Thread("org.zembrix.media.AssetWriter", [this] { encodeUntilDone(); });
    m_core->pokeRequests();
    m_core->wait.notifyAll();
    return true;
}

void AssetWriter::startSessionAtSourceTime(MediaTime startTime) {
    const auto lock = m_core->wait.lock();
    if (!m_core->sessionStart.isValid() && startTime.isNumeric()) {
        m_core->sessionStart = startTime;
        m_core->wait.notifyAll();
    }
}

void AssetWriter::finishWriting(std::function<void()> completionHandler) {
    {
        const auto lock = m_core->wait.lock();
        if (m_core->status == Status::Writing && !m_core->finishing) {
            m_core->finishing = true;
            m_core->completionHandler = std::move(completionHandler);
            for (WriterCore::Track& track : m_core->tracks) {
                track.finished = true;
                track.requestBlock = nullptr;
            }
            m_core->wait.notifyAll();
            return;
        }
    }
    if (completionHandler)
        core::DispatchQueue::global()->async(std::move(completionHandler));
}

void AssetWriter::cancelWriting() {
    auto lock = m_core->wait.lock();
    if (m_core->status == Status::Unknown) {
        m_core->status = Status::Cancelled;
        closeFile(false);
    } else if (m_core->status == Status::Writing) {
        // The encoding thread sees it, stops and removes the file.
        m_core->status = Status::Cancelled;
        m_core->completionHandler = nullptr;
        m_core->wait.notifyAll();
        lock.unlock();
        if (m_thread.joinable())
            m_thread.join();
    }
}

AssetWriter::Status AssetWriter::status() const {
    const auto lock = m_core->wait.lock();
    return m_core->status;
}

std::optional<core::Error> AssetWriter::error() const {
    const auto lock = m_core->wait.lock();
    return m_core->error;
}

void AssetWriter::setEncodingHeld(bool held) {
    const auto lock = m_core->wait.lock();
    m_core->held = held;
    m_core->wait.notifyAll();
}

void AssetWriter::encodeUntilDone() {
    WriterCore& core = *m_core;
    auto lock = core.wait.lock();
    for (;;) {
        if (core.status != Status::Writing)
            break;
        // The earliest sample waiting on any track goes first, so the tracks come out interleaved.
        WriterCore::Track* next = nullptr;
        if (!core.held || core.finishing) {
            for (WriterCore::Track& track : core.tracks) {
                if (!track.pending.empty() &&
                    (!next || track.pending.front()->presentationTime() < next->pending.front()->presentationTime()))
                    next = &track;
            }
        }
        if (next) {
            const std::shared_ptr<SampleBuffer> sample = std::move(next->pending.front());
            next->pending.pop_front();
            TrackEncoder& encoder = *next->encoder;
            const MediaTime sessionStart = core.sessionStart;
            core.pokeRequest(*next);
            core.wait.notifyAll();
            lock.unlock();
            core::Status encoded = encoder.encode(*sample, sessionStart);
            lock.lock();
            if (!encoded)
                core.fail(encoded.error());
            continue;
        }
        if (core.finishing)
            break;
        core.wait.wait(lock, [&] {
            if (core.status != Status::Writing || core.finishing)
                return true;
            if (core.held)
                return false;
            for (const WriterCore::Track& track : core.tracks) {
                if (!track.pending.empty())
                    return true;
            }
            return false;
        });
    }

    if (core.status == Status::Writing) {
        lock.unlock();
        core::Status finished;
        for (WriterCore::Track& track : core.tracks) {
            if (finished)
                finished = track.encoder->finish();
        }
        if (finished) {
            if (const int result = av_write_trailer(m_format); result < 0)
                finished = ffmpeg::error(MediaErrorEncodingFailed, "Cannot complete the movie", result);
        }
        closeFile(finished.ok());
        lock.lock();
        if (finished)
            core.status = Status::Completed;
        else
            core.fail(finished.error());
    } else {
        closeFile(core.status == Status::Failed);
    }
    for (WriterCore::Track& track : core.tracks)
        track.requestBlock = nullptr;
    core.wait.notifyAll();
    if (std::function<void()> handler = std::move(core.completionHandler))
        core::DispatchQueue::global()->async(std::move(handler));
}

void AssetWriter::closeFile(bool keep) {
    if (!m_format || !m_format->pb)
        return;
    avio_closep(&m_format->pb);
    if (!keep) {
        std::error_code ignored;
        std::filesystem::remove(m_outputURL, ignored);
    }
}

} // namespace media
