#pragma once

#include <cstdint>
#include <string_view>

namespace ui {

// Short system sounds, such as the alert of a refused move: WAV files of the resources loaded by name
// ("alert" is sounds/alert.wav) and played without waiting. The window host plays them through the
// sound card; the headless host writes down what was played.
class SoundPlayer {
public:
    using SoundId = std::uint32_t;

    virtual ~SoundPlayer() = default;

    // An identifier for the sound, or 0 when it cannot be loaded.
    virtual SoundId load(std::string_view name) = 0;
    // Plays a loaded sound; 0 or an unknown identifier plays nothing.
    virtual void play(SoundId sound) = 0;
};

} // namespace ui
