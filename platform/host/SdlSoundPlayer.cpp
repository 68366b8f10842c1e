#include "platform/host/SdlSoundPlayer.h"

#include "platform/core/Log.h"
#include "platform/host/SdlLibrary.h"

#include <string>


namespace host {

SdlSoundPlayer::SdlSoundPlayer(std::filesystem::path folder)
    : m_folder(std::move(folder)) {}

SdlSoundPlayer::~SdlSoundPlayer() {
    if (m_device) {
        m_sdl->CloseAudioDevice(m_device);
        m_sdl->QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlSoundPlayer::start(const SdlLibrary& sdl) {
    if (m_sdl)
        return;
    m_sdl = &sdl;
    if (m_waiting.empty() || !openOutput())
        return;
    for (std::size_t index = 0; index < m_waiting.size(); ++index)
        m_sounds[index] = read(m_waiting[index]);
    m_waiting.clear();
}

bool SdlSoundPlayer::openOutput() {
    if (m_device)
        return true;
    if (m_outputFailed)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    SDL_AudioSpec obtained{};
    const bool started = m_sdl->InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (started)
        m_device = m_sdl->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!m_device) {
        core::logf(core::LogLevel::Warning, "sound: no sound output (%s); sounds stay silent",
                   m_sdl->GetError());
        if (started)
            m_sdl->QuitSubSystem(SDL_INIT_AUDIO);
        m_outputFailed = true;
        return false;
    }
    m_output = {obtained.format, obtained.channels, obtained.freq};
    m_sdl->PauseAudioDevice(m_device, 0);
    return true;
}

SdlSoundPlayer::SoundId SdlSoundPlayer::load(std::string_view name) {
    if (!m_sdl) {
        m_waiting.emplace_back(name);
        m_sounds.emplace_back();
        return SoundId(m_sounds.size());
    }
    if (!openOutput())
        return 0;
    std::vector<std::uint8_t> samples = read(std::string(name));
    if (samples.empty())
        return 0;
    m_sounds.push_back(std::move(samples));
    return SoundId(m_sounds.size());
}

std::vector<std::uint8_t> SdlSoundPlayer::read(const std::string& name) {
    const std::string path = (m_folder / (name + ".wav")).string();
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!m_sdl->LoadWAV_RW(m_sdl->RWFromFile(path.c_str(), "rb"), 1, &spec, &buffer, &length)) {
        core::logf(core::LogLevel::Warning, "sound: cannot read %s (%s)", path.c_str(), m_sdl->GetError());
        return {};
    }
    SDL_AudioCVT conversion;
    const int prepared = m_sdl->BuildAudioCVT(&conversion, spec.format, spec.channels, spec.freq,
                                              m_output.format, m_output.channels, m_output.frequency);
    std::vector<std::uint8_t> samples;
    if (prepared >= 0) {
        samples.resize(std::size_t(length) * std::size_t(std::max(conversion.len_mult, 1)));
        std::copy(buffer, buffer + length, samples.begin());
        conversion.buf = samples.data();
        conversion.len = int(length);
        if (prepared == 1 && m_sdl->ConvertAudio(&conversion) != 0)
            samples.clear();
        else
            samples.resize(std::size_t(prepared == 1 ? conversion.len_cvt : int(length)));
    }
    m_sdl->FreeWAV(buffer);
    if (samples.empty())
        core::logf(core::LogLevel::Warning, "sound: cannot convert %s (%s)", path.c_str(), m_sdl->GetError());
    return samples;
}

void SdlSoundPlayer::play(SoundId sound) {
    if (!m_device || sound < 1 || sound > m_sounds.size() || m_sounds[sound - 1].empty())
        return;
    const std::vector<std::uint8_t>& samples = m_sounds[sound - 1];
    m_sdl->QueueAudio(m_device, samples.data(), Uint32(samples.size()));
}

} // namespace host
