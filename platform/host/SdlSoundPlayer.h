#pragma once

#include "platform/ui/SoundPlayer.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

struct SdlLibrary;

// Plays the WAV files of a folder through the sound card with SDL: each sound is read once, converted
// to the output's format, and queued whole when played. Without a sound card nothing loads and nothing
// plays (the first failure is logged).
class SdlSoundPlayer : public ui::SoundPlayer {
public:
    SdlSoundPlayer(const SdlLibrary& sdl, std::filesystem::path folder);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    SoundId load(std::string_view name) override;
    void play(SoundId sound) override;

private:
    bool openOutput();

    const SdlLibrary& m_sdl;
    std::filesystem::path m_folder;
    std::uint32_t m_device = 0;
    bool m_outputFailed = false;
    struct OutputFormat {
        std::uint16_t format;
        std::uint8_t channels;
        int frequency;
    } m_output{};
    std::vector<std::vector<std::uint8_t>> m_sounds; // the sound with identifier n is m_sounds[n - 1]
};

} // namespace host
