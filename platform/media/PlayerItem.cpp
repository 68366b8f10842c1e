#include "platform/media/PlayerItem.h"

#include "platform/core/DispatchQueue.h"
#include "platform/media/AssetReader.h"

namespace media {

namespace {

MediaTime fromDuration(core::Duration duration) {
    return MediaTime::make(duration.count(), 1'000'000'000);
}

} // namespace

// Player item

std::shared_ptr<PlayerItem> PlayerItem::create(std::shared_ptr<Asset> asset, std::shared_ptr<core::Clock> clock) {
    if (!asset || !clock)
        return nullptr;
    return std::shared_ptr<PlayerItem>(new PlayerItem(std::move(asset), std::move(clock)));
}

PlayerItem::PlayerItem(std::shared_ptr<Asset> asset, std::shared_ptr<core::Clock> clock)
    : m_asset(std::move(asset))
    , m_clock(std::move(clock)) {}

void PlayerItem::play() {
    std::vector<std::shared_ptr<PlayerItemVideoOutput>> outputs;
    {
        const std::lock_guard lock(m_mutex);
        if (m_playing)
            return;
        m_playing = true;
        m_playedFrom = m_clock->now();
        outputs = m_outputs;
    }
    for (const auto& output : outputs) {
        const std::lock_guard lock(output->m_mutex);
        output->notifyIfAsked();
    }
}

void PlayerItem::pause() {
    const std::lock_guard lock(m_mutex);
    if (!m_playing)
        return;
    m_itemTimeAtPlay += m_clock->now() - m_playedFrom;
    m_playing = false;
}

bool PlayerItem::isPlaying() const {
    const std::lock_guard lock(m_mutex);
    return m_playing;
}

MediaTime PlayerItem::currentTime() const {
    return itemTimeForHostTime(m_clock->now());
}

MediaTime PlayerItem::itemTimeForHostTime(core::TimePoint hostTime) const {
    const std::lock_guard lock(m_mutex);
    if (!m_playing)
        return fromDuration(m_itemTimeAtPlay);
    return fromDuration(m_itemTimeAtPlay + (hostTime - m_playedFrom));
}

void PlayerItem::addOutput(const std::shared_ptr<PlayerItemVideoOutput>& output) {
    if (!output)
        return;
    const auto tracks = m_asset->tracksWithMediaType(MediaType::Video);
    {
        const std::lock_guard lock(output->m_mutex);
        if (!output->m_item.expired() || tracks.empty())
            return;
        output->m_item = weak_from_this();
        output->m_reader = AssetReader::create(m_asset);
        output->m_output = AssetReaderOutput::trackOutput(tracks.front(), output->m_pixelFormat);
        output->m_reader->addOutput(output->m_output);
        output->m_reader->startReading();
    }
    const std::lock_guard lock(m_mutex);
    m_outputs.push_back(output);
}

// Video output

std::shared_ptr<PlayerItemVideoOutput> PlayerItemVideoOutput::create(PixelFormat pixelFormat) {
    return std::shared_ptr<PlayerItemVideoOutput>(new PlayerItemVideoOutput(pixelFormat));
}

PlayerItemVideoOutput::PlayerItemVideoOutput(PixelFormat pixelFormat)
    : m_pixelFormat(pixelFormat) {}

MediaTime PlayerItemVideoOutput::itemTimeForHostTime(core::TimePoint hostTime) const {
    std::shared_ptr<PlayerItem> item;
    {
        const std::lock_guard lock(m_mutex);
        item = m_item.lock();
    }
    return item ? item->itemTimeForHostTime(hostTime) : MediaTime::invalidTime();
}

bool PlayerItemVideoOutput::hasNewPixelBufferForItemTime(MediaTime itemTime) {
    const std::lock_guard lock(m_mutex);
    if (!m_output || !itemTime.isNumeric())
        return false;
    // Reads on while the next picture is due by then.
    for (;;) {
        if (!m_upcoming)
            m_upcoming = m_output->copyNextSampleBuffer();
        if (!m_upcoming || itemTime < m_upcoming->presentationTime())
            break;
        m_shown = std::move(m_upcoming);
        m_shownCopied = false;
    }
    return m_shown && !m_shownCopied;
}

std::shared_ptr<PixelBuffer> PlayerItemVideoOutput::copyPixelBufferForItemTime(MediaTime itemTime) {
    hasNewPixelBufferForItemTime(itemTime);
    const std::lock_guard lock(m_mutex);
    if (!m_shown)
        return nullptr;
    m_shownCopied = true;
    return m_shown->imageBuffer();
}

void PlayerItemVideoOutput::setDelegate(std::function<void()> mediaDataWillChange,
                                        std::shared_ptr<core::DispatchQueue> queue) {
    const std::lock_guard lock(m_mutex);
    m_mediaDataWillChange = std::move(mediaDataWillChange);
    m_delegateQueue = std::move(queue);
}

void PlayerItemVideoOutput::requestNotificationOfMediaDataChange() {
    std::shared_ptr<PlayerItem> item;
    {
        const std::lock_guard lock(m_mutex);
        m_notificationAsked = true;
        item = m_item.lock();
    }
    if (item && item->isPlaying()) {
        const std::lock_guard lock(m_mutex);
        notifyIfAsked();
    }
}

void PlayerItemVideoOutput::notifyIfAsked() {
    if (!m_notificationAsked || !m_mediaDataWillChange || !m_delegateQueue)
        return;
    m_notificationAsked = false;
    m_delegateQueue->async(m_mediaDataWillChange);
}

} // namespace media
