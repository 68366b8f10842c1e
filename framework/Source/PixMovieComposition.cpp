#include "framework/Source/PixMovieComposition.h"

#include "framework/Source/PixMovieWriter.h"
#include "platform/media/AssetReader.h"

namespace zm {

std::shared_ptr<PixMovieComposition> PixMovieComposition::create(std::shared_ptr<media::Composition> compositon,
                                                                 const media::VideoComposition& videoComposition,
                                                                 const media::AudioMix& audioMix) {
    if (!compositon)
        return nullptr;
    return std::shared_ptr<PixMovieComposition>(
        new PixMovieComposition(std::move(compositon), videoComposition, audioMix));
}

PixMovieComposition::PixMovieComposition(std::shared_ptr<media::Composition> compositon,
                                         const media::VideoComposition& videoComposition,
                                         const media::AudioMix& audioMix)
    : PixMovie({}, nullptr, nullptr)
    , m_compositon(std::move(compositon))
    , m_videoComposition(videoComposition)
    , m_audioMix(audioMix) {}

std::string PixMovieComposition::movieName() const {
    return "a composition of " + std::to_string(m_compositon->segments().size()) + " parts";
}

std::shared_ptr<media::AssetReader> PixMovieComposition::createAssetReader() {
    if (!m_compositon->hasTracksWithMediaType(media::MediaType::Video))
        return nullptr;
    auto reader = media::AssetReader::create(m_compositon);
    // Pictures are made at the render size itself.
    media::VideoComposition pictures = m_videoComposition;
    pictures.renderScale = 1.0f;
    reader->addOutput(media::AssetReaderOutput::videoCompositionOutput(pictures));
    if (const auto target = audioEncodingTarget(); target && m_compositon->hasTracksWithMediaType(media::MediaType::Audio)) {
        target->setShouldInvalidateAudioSampleWhenDone(true);
        reader->addOutput(media::AssetReaderOutput::audioMixOutput(m_audioMix));
    }
    return reader;
}

} // namespace zm
