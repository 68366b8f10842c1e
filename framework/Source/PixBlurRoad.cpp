#include "framework/Source/PixBlurRoad.h"

#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixPicture.h"
#include "platform/gfx/Image.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

namespace zm {

namespace {

// With a whole blur size every sample of both blur passes lands on a texel centre of a texture of the
// frame's own size (the picture's and the blur's intermediate image), where interpolating between
// texels gives the texel itself. Sampling without interpolation then gives the same image for about
// half the work of a software rasteriser. Other sizes sample between texels and keep interpolating.
bool samplesWholeTexels(float blurSize) {
    return std::isfinite(blurSize) && blurSize == std::floor(blurSize);
}

GPUTextureOptions textureOptions(bool wholeTexels) {
    GPUTextureOptions options;
    if (wholeTexels) {
        options.minFilter = GL_NEAREST;
        options.magFilter = GL_NEAREST;
    }
    return options;
}

// One road: the picture, whose texture takes the next image of its size in place, and the two filters
// with their framebuffers.
struct Road {
    int width;
    int height;
    bool wholeTexels;
    std::shared_ptr<PixPicture> picture;
    std::shared_ptr<PixGaussianBlurFilter> blur;
    std::shared_ptr<PixBrightnessFilter> brightness;
};

std::unique_ptr<Road> makeRoad(const gfx::Image& image, bool wholeTexels) {
    const GPUTextureOptions options = textureOptions(wholeTexels);
    auto picture = PixPicture::create(image, false, options);
    if (!picture)
        return nullptr;
    // The road is kept for the next image, so its intermediate images are kept too.
    picture->setConservesMemory(false);
    auto road = std::make_unique<Road>(Road{image.pixelWidth(), image.pixelHeight(), wholeTexels,
                                            std::move(picture), PixGaussianBlurFilter::create(),
                                            PixBrightnessFilter::create()});
    road->blur->setOutputTextureOptions(options);
    road->picture->addTarget(road->blur);
    road->blur->addTarget(road->brightness);
    return road;
}

// The roads not in use, the most recently used last. A call takes one of its size and sampling out
// (or makes one) and puts it back when it has read its image back, so threads running at once never
// share a road. The game blurs two sizes (the background and the completion snapshot); older roads
// are dropped.
class IdleRoads {
public:
    std::unique_ptr<Road> take(const gfx::Image& image, bool wholeTexels) {
        std::lock_guard lock(m_mutex);
        auto found = std::find_if(m_roads.rbegin(), m_roads.rend(), [&](const auto& road) {
            return road->width == image.pixelWidth() && road->height == image.pixelHeight() &&
                   road->wholeTexels == wholeTexels;
        });
        if (found == m_roads.rend())
            return nullptr;
        std::unique_ptr<Road> road = std::move(*found);
        m_roads.erase(std::next(found).base());
        return road;
    }

    void putBack(std::unique_ptr<Road> road) {
        std::unique_ptr<Road> dropped;
        std::lock_guard lock(m_mutex);
        m_roads.push_back(std::move(road));
        if (m_roads.size() > kKept) {
            dropped = std::move(m_roads.front());
            m_roads.erase(m_roads.begin());
        }
    }

private:
    static constexpr std::size_t kKept = 2;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Road>> m_roads;
};

IdleRoads& idleRoads() {
    // Never destroyed: its GL objects would outlive the processing context at exit.
    static IdleRoads* roads = new IdleRoads;
    return *roads;
}

} // namespace

std::shared_ptr<const gfx::Image> blurImage(const gfx::Image& image, float blurSize, float brightness) {
    const bool wholeTexels = samplesWholeTexels(blurSize);
    std::unique_ptr<Road> road = idleRoads().take(image, wholeTexels);
    if (!road || !road->picture->replaceImage(image))
        road = makeRoad(image, wholeTexels);
    if (!road)
        return nullptr;
    road->blur->setBlurSize(blurSize);
    road->brightness->setBrightness(brightness);
    // The read-back waits on the processing queue behind the queued push, so it sees this frame.
    road->picture->processImage();
    std::shared_ptr<const gfx::Image> blurred = road->brightness->imageFromCurrentlyProcessedOutput();
    idleRoads().putBack(std::move(road));
    return blurred;
}

} // namespace zm
