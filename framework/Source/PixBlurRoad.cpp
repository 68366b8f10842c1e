#include "framework/Source/PixBlurRoad.h"

#include "framework/Source/PixBlurRoadFilter.h"
#include "framework/Source/PixPicture.h"
#include "platform/gfx/Image.h"
#include "platform/gl/CompilerCode.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include <malloc.h>

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

// The GL memory of a road for an image of the size: the picture's texture and the filter's two, four
// bytes a pixel each. Roads kept for the next image hold at most kKeptRoadBytes in all.
std::size_t roadBytes(int width, int height) {
    return std::size_t{3} * 4 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

bool fitsKept(int width, int height) {
    return roadBytes(width, height) <= kKeptRoadBytes;
}

// One road: the picture, whose texture takes the next image of its size in place, and the filter with
// its two framebuffers.
struct Road {
    int width;
    int height;
    bool wholeTexels;
    std::shared_ptr<PixPicture> picture;
    std::shared_ptr<PixBlurRoadFilter> filter;

    std::size_t bytes() const { return roadBytes(width, height); }
};

std::unique_ptr<Road> makeRoad(const gfx::Image& image, bool wholeTexels) {
    const GPUTextureOptions options = textureOptions(wholeTexels);
    auto picture = PixPicture::create(image, false, options);
    if (!picture)
        return nullptr;
    // A road kept for the next image keeps its intermediate image too. One released after use frees
    // it once the result is drawn, before the image is read back: its picture, intermediate image and
    // result, or its picture, result and the image read back, are then the most it holds at once.
    if (fitsKept(image.pixelWidth(), image.pixelHeight()))
        picture->setConservesMemory(false);
    auto road = std::make_unique<Road>(Road{image.pixelWidth(), image.pixelHeight(), wholeTexels,
                                            std::move(picture), PixBlurRoadFilter::create()});
    road->filter->setOutputTextureOptions(options);
    road->picture->addTarget(road->filter);
    return road;
}

// The roads not in use, the most recently used last. A call takes one of its size and sampling out
// (or makes one) and puts it back when it has read its image back, so threads running at once never
// share a road. The game blurs two sizes (the background and the completion snapshot): two roads are
// kept, as long as their textures fit in kKeptRoadBytes, and older roads are dropped. A road too large
// to fit alone (a screen of a large tablet at scale 2) is never put back.
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
        // Released outside the lock: their GL objects are deleted on the processing queue.
        std::vector<std::unique_ptr<Road>> dropped;
        std::lock_guard lock(m_mutex);
        m_roads.push_back(std::move(road));
        while (m_roads.size() > kKeptRoads || bytes() > kKeptRoadBytes) {
            dropped.push_back(std::move(m_roads.front()));
            m_roads.erase(m_roads.begin());
        }
    }

    std::size_t keptBytes() {
        std::lock_guard lock(m_mutex);
        return bytes();
    }

private:
    static constexpr std::size_t kKeptRoads = 2;

    std::size_t bytes() const {
        std::size_t total = 0;
        for (const auto& road : m_roads)
            total += road->bytes();
        return total;
    }

    std::mutex m_mutex;
    std::vector<std::unique_ptr<Road>> m_roads;
};

IdleRoads& idleRoads() {
    // Never destroyed: its GL objects would outlive the processing context at exit.
    static IdleRoads* roads = new IdleRoads;
    return *roads;
}

} // namespace

std::size_t keptBlurRoadBytes() {
    return idleRoads().keptBytes();
}

std::shared_ptr<const gfx::Image> blurImage(const gfx::Image& image, float blurSize, float brightness) {
    const bool wholeTexels = samplesWholeTexels(blurSize);
    std::unique_ptr<Road> road = idleRoads().take(image, wholeTexels);
    const bool made = !road || !road->picture->replaceImage(image);
    if (made)
        road = makeRoad(image, wholeTexels);
    if (!road)
        return nullptr;
    road->filter->setBlurSize(blurSize);
    road->filter->setBrightness(brightness);
    // The read-back waits on the processing queue behind the queued push, so it sees this frame.
    road->picture->processImage();
    std::shared_ptr<const gfx::Image> blurred = road->filter->imageFromOutput();
    // A new road may have had the driver build its programs; the compiler is idle until another is
    // made, and its code would otherwise stay resident through the screen that asked for the blur.
    if (made)
        gl::releaseShaderCompilerCode();
    if (fitsKept(road->width, road->height)) {
        idleRoads().putBack(std::move(road));
        return blurred;
    }
    road.reset();
    // The driver takes its textures from the C heap, which keeps pages freed amid other blocks; give
    // back those this road held, or every large road leaves its size behind.
    malloc_trim(0);
    return blurred;
}

} // namespace zm
