#pragma once

#include "platform/core/Clock.h"
#include "platform/media/Asset.h"
#include "platform/media/MediaTime.h"
#include "platform/media/PixelBuffer.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace core {
class DispatchQueue;
}

namespace media {

class AssetReader;
class AssetReaderOutput;
class PlayerItemVideoOutput;
class SampleBuffer;

// A movie being played: its item time runs with a clock from play() on and stands still while paused.
// What is shown at an item time is read through its video outputs.
//
// Thread safety: every operation may be called from any thread.
class PlayerItem : public std::enable_shared_from_this<PlayerItem> {
public:
    static std::shared_ptr<PlayerItem> create(std::shared_ptr<Asset> asset, std::shared_ptr<core::Clock> clock);

    const std::shared_ptr<Asset>& asset() const { return m_asset; }

    void play();
    void pause();
    bool isPlaying() const;
    MediaTime currentTime() const;
    // The item time at the clock's time `hostTime`.
    MediaTime itemTimeForHostTime(core::TimePoint hostTime) const;

    void addOutput(const std::shared_ptr<PlayerItemVideoOutput>& output);

private:
    PlayerItem(std::shared_ptr<Asset> asset, std::shared_ptr<core::Clock> clock);

    const std::shared_ptr<Asset> m_asset;
    const std::shared_ptr<core::Clock> m_clock;
    mutable std::mutex m_mutex; // guards the four below
    bool m_playing = false;
    core::TimePoint m_playedFrom;           // the clock's time of item time `m_itemTimeAtPlay`
    core::Duration m_itemTimeAtPlay{0};
    std::vector<std::shared_ptr<PlayerItemVideoOutput>> m_outputs;
};

// The pictures of a player item, fetched for the item time of each display refresh.
//
// Thread safety: every operation may be called from any thread.
class PlayerItemVideoOutput {
public:
    static std::shared_ptr<PlayerItemVideoOutput> create(PixelFormat pixelFormat = PixelFormat::BiPlanar420FullRange);

    MediaTime itemTimeForHostTime(core::TimePoint hostTime) const;
    // Whether the picture shown at `itemTime` has not been copied yet.
    bool hasNewPixelBufferForItemTime(MediaTime itemTime);
    // The picture shown at `itemTime`; nullptr before the first.
    std::shared_ptr<PixelBuffer> copyPixelBufferForItemTime(MediaTime itemTime);

    // `mediaDataWillChange` is called on `queue` when the item's pictures begin to change (it starts
    // playing), once a notification is asked for.
    void setDelegate(std::function<void()> mediaDataWillChange, std::shared_ptr<core::DispatchQueue> queue);
    void requestNotificationOfMediaDataChange();

private:
    friend class PlayerItem;

    explicit PlayerItemVideoOutput(PixelFormat pixelFormat);
    // With the lock held.
    void notifyIfAsked();

    const PixelFormat m_pixelFormat;
    mutable std::mutex m_mutex; // guards everything below
    std::weak_ptr<PlayerItem> m_item;
    std::shared_ptr<AssetReader> m_reader;
    std::shared_ptr<AssetReaderOutput> m_output;
    std::shared_ptr<SampleBuffer> m_shown;   // the latest picture due
    std::shared_ptr<SampleBuffer> m_upcoming; // the one after it, read ahead
    bool m_shownCopied = false;
    std::function<void()> m_mediaDataWillChange;
    std::shared_ptr<core::DispatchQueue> m_delegateQueue;
    bool m_notificationAsked = false;
};

} // namespace media
