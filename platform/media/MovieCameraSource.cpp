#include "platform/core/ClockWait.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Thread.h"
#include "platform/media/Asset.h"
#include "platform/media/AssetReader.h"
#include "platform/media/CaptureSource.h"
#include "platform/media/MediaError.h"

#include <mutex>

namespace media {

namespace {

// A camera that plays a movie at its own pace on the current clock, over and over: its pictures (or, as
// a microphone, its sound) stamped with the time since the camera started.
class MovieCameraSource final : public CaptureSource {
public:
    MovieCameraSource(std::filesystem::path movie, MediaType mediaType)
        : m_movie(std::move(movie))
        , m_mediaType(mediaType) {}

    ~MovieCameraSource() override { stop(); }

    core::Status start(Sink sink, int, int) override {
        auto asset = Asset::open(m_movie);
        if (!asset)
            return asset.error();
        if ((*asset)->tracksWithMediaType(m_mediaType).empty())
            return mediaError(MediaErrorNoSuchDevice, m_movie.string() + (m_mediaType == MediaType::Video
                                                                              ? " has no pictures"
                                                                              : " has no sound"));
        m_stopping = false;
        m_thread = core::Thread("org.zembrix.media.movieCamera",
                                [this, asset = *asset, sink = std::move(sink), clock = core::currentClock()] {
                                    play(asset, sink, *clock);
                                });
        return {};
    }

    void stop() override {
        {
            auto lock = m_wait.lock();
            m_stopping = true;
            m_wait.notifyAll();
        }
        if (m_thread.joinable())
            m_thread.join();
    }

    std::shared_ptr<SampleBuffer> latestPicture() const override {
        const auto lock = m_wait.lock();
        return m_latestPicture;
    }

private:
    void play(const std::shared_ptr<Asset>& asset, const Sink& sink, core::Clock& clock) {
        const core::TimePoint started = clock.now();
        MediaTime loopStart = MediaTime::zero();
        for (;;) {
            const auto reader = AssetReader::create(asset);
            const auto output = AssetReaderOutput::trackOutput(asset->tracksWithMediaType(m_mediaType).front());
            reader->addOutput(output);
            if (!reader->startReading())
                return;
            MediaTime last = MediaTime::zero();
            bool any = false;
            while (const auto sample = output->copyNextSampleBuffer()) {
                const MediaTime time = loopStart + sample->presentationTime();
                {
                    auto lock = m_wait.lock();
                    const core::TimePoint due = started + core::fromSeconds(time.inSeconds());
                    m_wait.waitUntil(lock, clock, due, [&] { return m_stopping; });
                    if (m_stopping)
                        return;
                }
                std::shared_ptr<SampleBuffer> stamped =
                    m_mediaType == MediaType::Video
                        ? SampleBuffer::makeImage(sample->imageBuffer(), time, sample->duration())
                        : SampleBuffer::makeAudio(sample->audioFormat(), sample->samples(), time);
                if (m_mediaType == MediaType::Video) {
                    const auto lock = m_wait.lock();
                    m_latestPicture = stamped;
                }
                sink(stamped);
                last = sample->presentationTime() + (sample->duration().isNumeric() ? sample->duration() : MediaTime::zero());
                any = true;
            }
            if (!any)
                return; // nothing to play: no endless loop over an empty track
            // The next round starts where this one ended, or a frame later for a still.
            loopStart = loopStart + std::max(last, asset->duration().isNumeric() ? asset->duration() : last);
        }
    }

    const std::filesystem::path m_movie;
    const MediaType m_mediaType;
    mutable core::ClockWait m_wait; // its lock guards the two below
    bool m_stopping = false;
    std::shared_ptr<SampleBuffer> m_latestPicture;
    core::Thread m_thread;
};

} // namespace

std::unique_ptr<CaptureSource> CaptureSource::makeMovieCamera(const std::filesystem::path& movie, MediaType mediaType) {
    return std::make_unique<MovieCameraSource>(movie, mediaType);
}

} // namespace media
