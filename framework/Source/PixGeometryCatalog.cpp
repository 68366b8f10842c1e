#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixCropFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixLanczosResamplingFilter.h"
#include "framework/Source/PixPoissonBlendFilter.h"
#include "framework/Source/PixToneCurveFilter.h"
#include "framework/Source/PixTransformFilter.h"

namespace zm {

// Regions, transforms and sizes take more than one value, which a configuration cannot give: the crop,
// transform and resampling filters start from their first settings (the whole picture, the identity,
// the input's size).
void registerCurveAndGeometryFilters(PixFilterRegistry& registry) {
    registry.add<PixToneCurveFilter>("PixToneCurveFilter")
        .set("setPointsWithACVURL:", &PixToneCurveFilter::setPointsWithACVURL)
        .set("setRgbCompositeControlPoints:", &PixToneCurveFilter::setRgbCompositeControlPoints)
        .set("setRedControlPoints:", &PixToneCurveFilter::setRedControlPoints)
        .set("setGreenControlPoints:", &PixToneCurveFilter::setGreenControlPoints)
        .set("setBlueControlPoints:", &PixToneCurveFilter::setBlueControlPoints)
        .set("setRGBControlPoints:", &PixToneCurveFilter::setRGBControlPoints);
    registry.add<PixCropFilter>("PixCropFilter");
    registry.add<PixTransformFilter>("PixTransformFilter")
        .set("setIgnoreAspectRatio:", &PixTransformFilter::setIgnoreAspectRatio)
        .set("setAnchorTopLeft:", &PixTransformFilter::setAnchorTopLeft);
    registry.add<PixLanczosResamplingFilter>("PixLanczosResamplingFilter");
    registry.add<PixPoissonBlendFilter>("PixPoissonBlendFilter")
        .set("setMix:", &PixPoissonBlendFilter::setMix)
        .set("setNumIterations:", &PixPoissonBlendFilter::setNumIterations);
}

} // namespace zm
