#pragma once

#include "platform/ui/SoundPlayer.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace host {

struct SdlLibrary;

// Plays the WAV files of a folder through the sound card with SDL: each sound is read once, converted
// to the output's format, and queued whole when played. Without a sound card nothing loads and nothing
// plays (the first failure is logged).
//
// The output opens when the host starts the player, once SDL is loaded; the sounds asked for before
// are read then (their identifiers play nothing until then, nor when they could not be read).
class SdlSoundPlayer : public ui::SoundPlayer {
public:
    explicit SdlSoundPlayer(std::filesystem::path folder);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    // Reads the sounds asked for so far through `sdl`, opening the output for them. Once.
    void start(const SdlLibrary& sdl);

    SoundId load(std::string_view name) override;
    void play(SoundId sound) override;

private:
    bool openOutput();
    // The sound's samples in the output's format; none when it cannot be read.
    std::vector<std::uint8_t> read(const std::string& name);

    const SdlLibrary* m_sdl = nullptr;
    std::filesystem::path m_folder;
    std::uint32_t m_device = 0;
    bool m_outputFailed = false;
    struct OutputFormat {
        std::uint16_t format;
        std::uint8_t channels;
        int frequency;
    } m_output{};
    std::vector<std::vector<std::uint8_t>> m_sounds; // the sound with identifier n is m_sounds[n - 1]
    std::vector<std::string> m_waiting;              // names asked for before the start, in order
};

} // namespace host
