#pragma once

#include "platform/ui/SoundPlayer.h"

#include <string>
#include <vector>

namespace host {

// Plays nothing and writes down what it was asked to play: the sound player of the headless host.
// Every name loads.
class RecordingSoundPlayer : public ui::SoundPlayer {
public:
    SoundId load(std::string_view name) override;
    void play(SoundId sound) override;

    // The names of the sounds played, in order.
    const std::vector<std::string>& played() const { return m_played; }

private:
    std::vector<std::string> m_names; // the sound with identifier n is m_names[n - 1]
    std::vector<std::string> m_played;
};

} // namespace host
