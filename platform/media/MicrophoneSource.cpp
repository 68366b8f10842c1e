#include "platform/media/CaptureSource.h"
#include "platform/media/MediaError.h"

#include <SDL.h>

#include <atomic>

namespace media {

namespace {

// SDL's default recording device, mono at 48000 Hz, stamped with the time since it started.
class MicrophoneSource final : public CaptureSource {
public:
    ~MicrophoneSource() override { stop(); }

    core::Status start(Sink sink, int, int) override {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return mediaError(MediaErrorNoSuchDevice, std::string("No sound system: ") + SDL_GetError());
        m_audioStarted = true;
        m_sink = std::move(sink);
        SDL_AudioSpec wanted{};
        wanted.freq = kSampleRate;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = 1;
        wanted.samples = 1024;
        wanted.callback = &MicrophoneSource::record;
        wanted.userdata = this;
        m_device = SDL_OpenAudioDevice(nullptr, 1, &wanted, nullptr, 0);
        if (m_device == 0) {
            stop();
            return mediaError(MediaErrorNoSuchDevice, std::string("No microphone: ") + SDL_GetError());
        }
        SDL_PauseAudioDevice(m_device, 0);
        return {};
    }

    void stop() override {
        if (m_device != 0) {
            SDL_CloseAudioDevice(m_device);
            m_device = 0;
        }
        if (m_audioStarted) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m_audioStarted = false;
        }
    }

private:
    static constexpr int kSampleRate = 48000;

    static void record(void* userdata, Uint8* stream, int length) {
        auto& self = *static_cast<MicrophoneSource*>(userdata);
        const auto* samples = reinterpret_cast<const float*>(stream);
        const std::size_t count = static_cast<std::size_t>(length) / sizeof(float);
        self.m_sink(SampleBuffer::makeAudio({kSampleRate, 1}, std::vector<float>(samples, samples + count),
                                            MediaTime::make(self.m_recorded, kSampleRate)));
        self.m_recorded += static_cast<std::int64_t>(count);
    }

    Sink m_sink;
    SDL_AudioDeviceID m_device = 0;
    bool m_audioStarted = false;
    std::int64_t m_recorded = 0; // on SDL's audio thread
};

} // namespace

std::unique_ptr<CaptureSource> CaptureSource::makeMicrophone() {
    return std::make_unique<MicrophoneSource>();
}

} // namespace media
