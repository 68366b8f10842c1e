#include "platform/media/AssetWriterInput.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/WriterCore.h"

namespace media {

core::Result<std::shared_ptr<AssetWriterInput>> AssetWriterInput::create(MediaType mediaType,
                                                                        std::optional<core::Dictionary> outputSettings) {
    if (mediaType == MediaType::Video) {
        const auto checked = VideoSettings::read(outputSettings.value_or(core::Dictionary{}));
        if (!checked)
            return checked.error();
    } else if (outputSettings) {
        const auto checked = AudioSettings::read(*outputSettings);
        if (!checked)
            return checked.error();
    }
    return std::shared_ptr<AssetWriterInput>(new AssetWriterInput(mediaType, std::move(outputSettings)));
}

AssetWriterInput::AssetWriterInput(MediaType mediaType, std::optional<core::Dictionary> outputSettings)
    : m_mediaType(mediaType)
    , m_outputSettings(std::move(outputSettings)) {}

AssetWriterInput::~AssetWriterInput() = default;

// Until a writer takes the input there is no lock to take: the settings are the caller's alone.

bool AssetWriterInput::expectsMediaDataInRealTime() const {
    if (!m_core)
        return m_realTime;
    const auto lock = m_core->wait.lock();
    return m_realTime;
}

void AssetWriterInput::setExpectsMediaDataInRealTime(bool realTime) {
    if (!m_core) {
        m_realTime = realTime;
        return;
    }
    const auto lock = m_core->wait.lock();
    m_realTime = realTime;
}

core::AffineTransform AssetWriterInput::transform() const {
    if (!m_core)
        return m_transform;
    const auto lock = m_core->wait.lock();
    return m_transform;
}

void AssetWriterInput::setTransform(const core::AffineTransform& transform) {
    if (!m_core) {
        m_transform = transform;
        return;
    }
    const auto lock = m_core->wait.lock();
    m_transform = transform;
}

bool AssetWriterInput::isReadyForMoreMediaData() const {
    if (!m_core)
        return false;
    const auto lock = m_core->wait.lock();
    const WriterCore::Track* track = m_core->trackOf(*this);
    return track && m_core->isReady(*track);
}

bool AssetWriterInput::waitUntilReadyForMoreMediaData(core::Duration timeout) const {
    if (!m_core)
        return false;
    const std::shared_ptr<core::Clock> clock = core::currentClock();
    auto lock = m_core->wait.lock();
    const WriterCore::Track* track = m_core->trackOf(*this);
    if (!track)
        return false;
    const auto stoppedForGood = [&] {
        return m_core->status != AssetWriter::Status::Writing || m_core->finishing || track->finished;
    };
    m_core->wait.waitUntil(lock, *clock, clock->now() + timeout,
                           [&] { return m_core->isReady(*track) || stoppedForGood(); });
    return m_core->isReady(*track);
}

bool AssetWriterInput::appendSampleBuffer(const std::shared_ptr<SampleBuffer>& sample) {
    if (!m_core || !sample || !sample->isValid() || sample->mediaType() != m_mediaType)
        return false;
    const auto lock = m_core->wait.lock();
    WriterCore::Track* track = m_core->trackOf(*this);
    if (!track || !m_core->isReady(*track) || !m_core->sessionStart.isValid())
        return false;
    track->pending.push_back(sample);
    m_core->wait.notifyAll();
    return true;
}

void AssetWriterInput::markAsFinished() {
    if (!m_core)
        return;
    const auto lock = m_core->wait.lock();
    if (WriterCore::Track* track = m_core->trackOf(*this)) {
        track->finished = true;
        track->requestBlock = nullptr;
        m_core->wait.notifyAll();
    }
}

void AssetWriterInput::requestMediaDataWhenReady(std::shared_ptr<core::DispatchQueue> queue,
                                                 std::function<void()> block) {
    if (!m_core || !queue || !block)
        return;
    const auto lock = m_core->wait.lock();
    WriterCore::Track* track = m_core->trackOf(*this);
    if (!track || track->finished)
        return;
    track->requestQueue = std::move(queue);
    track->requestBlock = std::move(block);
    m_core->pokeRequest(*track);
}

// WriterCore

WriterCore::Track* WriterCore::trackOf(const AssetWriterInput& input) {
    for (Track& track : tracks) {
        if (track.input == &input)
            return &track;
    }
    return nullptr;
}

bool WriterCore::isReady(const Track& track) const {
    return status == AssetWriter::Status::Writing && !finishing && !track.finished &&
           track.pending.size() < AssetWriterInput::kPendingSampleLimit;
}

void WriterCore::pokeRequest(Track& track) {
    if (!track.requestBlock || track.requestScheduled || !isReady(track))
        return;
    track.requestScheduled = true;
    track.requestQueue->async([input = track.input->weak_from_this()] {
        const auto alive = input.lock();
        if (!alive)
            return;
        const std::shared_ptr<WriterCore> core = alive->m_core;
        auto lock = core->wait.lock();
        Track* track = core->trackOf(*alive);
        if (!track)
            return;
        track->requestScheduled = false;
        if (!track->requestBlock || !core->isReady(*track))
            return;
        const std::function<void()> block = track->requestBlock;
        lock.unlock();
        block();
        lock.lock();
        if ((track = core->trackOf(*alive)))
            core->pokeRequest(*track);
    });
}

void WriterCore::pokeRequests() {
    for (Track& track : tracks)
        pokeRequest(track);
}

void WriterCore::fail(core::Error failure) {
    if (status != AssetWriter::Status::Writing)
        return;
    status = AssetWriter::Status::Failed;
    error = std::move(failure);
    for (Track& track : tracks)
        track.requestBlock = nullptr;
    wait.notifyAll();
}

} // namespace media
