#include "framework/Source/PixMovieTestSupport.h"

#include "platform/media/AssetReader.h"
#include "platform/media/PixelBuffer.h"

#include <cstdlib>

namespace zm::pixtest {

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
    std::vector<std::shared_ptr<media::AssetReaderTrackOutput>> outputs;
    for (const media::AssetTrack& track : (*asset)->tracks()) {
        if (track.mediaType == media::MediaType::Video) {
            contents.videoCodec = track.codecName;
            contents.videoSize = track.naturalSize;
        } else {
            contents.audioCodec = track.codecName;
        }
        outputs.push_back(media::AssetReaderTrackOutput::create(track, media::PixelFormat::BGRA));
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

bool colourNear(Rgba actual, Rgba expected, int tolerance) {
    for (int channel = 0; channel < 3; ++channel) {
        if (std::abs(actual[channel] - expected[channel]) > tolerance)
            return false;
    }
    return true;
}

} // namespace zm::pixtest
