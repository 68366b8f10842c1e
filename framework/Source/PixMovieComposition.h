#pragma once

#include "framework/Source/PixMovie.h"
#include "platform/media/Composition.h"

#include <memory>

namespace zm {

// A movie source for an edit: the composition's parts played one after the other, their pictures made
// by the video composition (scaled to its render size, one every frame duration) and their sound mixed
// by the audio mix before they reach the graph and the writer. Everything else is the movie source's.
class PixMovieComposition : public PixMovie {
public:
    static std::shared_ptr<PixMovieComposition> create(std::shared_ptr<media::Composition> compositon,
                                                       const media::VideoComposition& videoComposition,
                                                       const media::AudioMix& audioMix);

    const std::shared_ptr<media::Composition>& compositon() const { return m_compositon; }
    const media::VideoComposition& videoComposition() const { return m_videoComposition; }
    const media::AudioMix& audioMix() const { return m_audioMix; }

protected:
    std::shared_ptr<media::AssetReader> createAssetReader() override;
    std::string movieName() const override;

private:
    PixMovieComposition(std::shared_ptr<media::Composition> compositon, const media::VideoComposition& videoComposition,
                        const media::AudioMix& audioMix);

    const std::shared_ptr<media::Composition> m_compositon;
    const media::VideoComposition m_videoComposition;
    const media::AudioMix m_audioMix;
};

} // namespace zm
