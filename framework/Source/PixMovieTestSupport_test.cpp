#include "framework/Source/PixMovieTestSupport.h"

#include "framework/Source/PixContext.h"

#include "platform/core/FileLocations.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "platform/media/AssetReader.h"
#include "platform/media/AssetWriter.h"
#include "platform/media/AssetWriterInput.h"
#include "platform/media/AssetWriterInputPixelBufferAdaptor.h"
#include "platform/media/OutputSettings.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/PixelBufferPool.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <future>
#include <numbers>
#include <thread>

namespace zm::pixtest {

FrameLog::~FrameLog() {
    runSynchronouslyOnContextQueue([&] {
        m_target.reset();
        m_copy.reset();
    });
}

std::vector<FrameLog::Frame> FrameLog::frames() const {
    const std::lock_guard lock(m_mutex);
    return m_frames;
}

bool FrameLog::waitForFrames(std::size_t count) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (frames().size() < count && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return frames().size() >= count;
}

void FrameLog::newFrameReadyAtTime(PixFrameTime frameTime, int) {
    // A 2 x 2 copy of the texture's middle is enough to know its colour.
    if (!m_copy) {
        m_copy = std::make_unique<PixTextureCopy>();
        m_target = PixRenderTarget::create(2, 2);
    }
    m_target->bind();
    const PixTextureCopy::Quad middle = {0.45f, 0.45f, 0.55f, 0.45f, 0.45f, 0.55f, 0.55f, 0.55f};
    m_copy->draw(m_texture, PixTextureCopy::kFullScreenVertices, middle, {0, 0, 0, 1});
    std::uint8_t pixels[16];
    m_target->readPixels(pixels, 8);
    int count = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_frames.push_back({frameTime, m_size, {pixels[0], pixels[1], pixels[2], pixels[3]}, m_monochrome});
        count = static_cast<int>(m_frames.size());
    }
    if (onFrame)
        onFrame(count);
}

Rgba MovieFrame::pixel(int x, int y) const {
    const std::uint8_t* bgra = picture->baseAddress() + static_cast<std::size_t>(y) * picture->bytesPerRow() + x * 4;
    return {bgra[2], bgra[1], bgra[0], bgra[3]};
}

MovieContents readMovie(const std::filesystem::path& path) {
    MovieContents contents;
    const auto asset = media::Asset::open(path);
    if (!asset)
        return contents;
    const auto reader = media::AssetReader::create(*asset);
    std::vector<std::shared_ptr<media::AssetReaderOutput>> outputs;
    for (const media::AssetTrack& track : (*asset)->tracks()) {
        if (track.mediaType == media::MediaType::Video) {
            contents.videoCodec = track.codecName;
            contents.videoSize = track.naturalSize;
        } else {
            contents.audioCodec = track.codecName;
        }
        outputs.push_back(media::AssetReaderOutput::trackOutput(track, media::PixelFormat::BGRA));
        reader->addOutput(outputs.back());
    }
    if (!reader->startReading())
        return contents;
    contents.opened = true;
    for (const auto& output : outputs) {
        while (const auto sample = output->copyNextSampleBuffer()) {
            if (sample->mediaType() == media::MediaType::Video) {
                contents.frames.push_back({sample->presentationTime(), sample->imageBuffer()});
            } else {
                contents.audioSampleRate = sample->audioFormat().sampleRate;
                contents.audioSeconds += static_cast<double>(sample->frameCount()) / contents.audioSampleRate;
            }
        }
    }
    return contents;
}

bool writeMovie(const std::filesystem::path& path, const MovieRecipe& recipe) {
    auto writer = media::AssetWriter::create(path, media::FileType::QuickTimeMovie);
    if (!writer)
        return false;
    std::shared_ptr<media::AssetWriterInput> video;
    std::shared_ptr<media::AssetWriterInputPixelBufferAdaptor> adaptor;
    if (!recipe.pictures.empty()) {
        video = *media::AssetWriterInput::create(
            media::MediaType::Video,
            core::Dictionary{{media::VideoCodecKey, media::VideoCodecH264},
                             {media::VideoWidthKey, recipe.width},
                             {media::VideoHeightKey, recipe.height},
                             {media::VideoYCbCrMatrixKey,
                              recipe.bt709 ? media::VideoYCbCrMatrix_ITU_R_709 : media::VideoYCbCrMatrix_ITU_R_601}});
        adaptor = media::AssetWriterInputPixelBufferAdaptor::create(video, media::PixelFormat::BGRA, recipe.width,
                                                                    recipe.height, recipe.pictures.size() + 1);
        (*writer)->addInput(video);
    }
    std::shared_ptr<media::AssetWriterInput> audio;
    if (recipe.toneSeconds > 0) {
        audio = *media::AssetWriterInput::create(media::MediaType::Audio,
                                                 core::Dictionary{{media::NumberOfChannelsKey, 1}, {media::SampleRateKey, 48000.0}});
        (*writer)->addInput(audio);
    }
    if (!(*writer)->startWriting())
        return false;
    (*writer)->startSessionAtSourceTime(PixFrameTime::zero());
    for (std::size_t index = 0; index < recipe.pictures.size(); ++index) {
        video->waitUntilReadyForMoreMediaData(std::chrono::seconds(5));
        auto buffer = adaptor->pixelBufferPool()->createPixelBuffer();
        for (int y = 0; y < recipe.height; ++y) {
            for (int x = 0; x < recipe.width; ++x) {
                const Rgba& pixel = recipe.pictures[index][static_cast<std::size_t>(y) * recipe.width + x];
                std::uint8_t* bgra = buffer->baseAddress() + static_cast<std::size_t>(y) * buffer->bytesPerRow() + x * 4;
                bgra[0] = pixel[2];
                bgra[1] = pixel[1];
                bgra[2] = pixel[0];
                bgra[3] = pixel[3];
            }
        }
        const PixFrameTime time = index < recipe.times.size() ? recipe.times[index]
                                                              : PixFrameTime::make(static_cast<std::int64_t>(index), 30);
        adaptor->appendPixelBuffer(buffer, time);
    }
    const auto toneFrames = static_cast<std::int64_t>(recipe.toneSeconds * 48000);
    for (std::int64_t start = 0; start < toneFrames; start += 4800) {
        std::vector<float> samples(static_cast<std::size_t>(std::min<std::int64_t>(4800, toneFrames - start)));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = 0.5f * std::sin(2 * std::numbers::pi_v<float> * 440 * (start + i) / 48000.0f);
        audio->waitUntilReadyForMoreMediaData(std::chrono::seconds(5));
        audio->appendSampleBuffer(media::SampleBuffer::makeAudio({48000, 1}, std::move(samples), PixFrameTime::make(start, 48000)));
    }
    std::promise<void> done;
    (*writer)->finishWriting([&] { done.set_value(); });
    done.get_future().wait();
    return (*writer)->status() == media::AssetWriter::Status::Completed;
}

std::vector<Rgba> solidPicture(int width, int height, Rgba colour) {
    return std::vector<Rgba>(static_cast<std::size_t>(width) * height, colour);
}

void keepPicture(const gfx::Image& picture, const std::string& name) {
    const std::filesystem::path folder = core::FileLocations::shared().temporary / "screenshots";
    std::filesystem::create_directories(folder);
    const std::vector<std::uint8_t> png = gfx::encodePng(picture);
    std::ofstream(folder / (name + ".png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

bool colourNear(Rgba actual, Rgba expected, int tolerance) {
    for (int channel = 0; channel < 3; ++channel) {
        if (std::abs(actual[channel] - expected[channel]) > tolerance)
            return false;
    }
    return true;
}

} // namespace zm::pixtest
