#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/Pix3x3ConvolutionFilter.h"
#include "framework/Source/PixBilateralFilter.h"
#include "framework/Source/PixBoxBlurFilter.h"
#include "framework/Source/PixEmbossFilter.h"
#include "framework/Source/PixFastBlurFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixGaussianBlurPositionFilter.h"
#include "framework/Source/PixGaussianSelectiveBlurFilter.h"
#include "framework/Source/PixLaplacianFilter.h"
#include "framework/Source/PixMedianFilter.h"
#include "framework/Source/PixMorphologyGroups.h"
#include "framework/Source/PixMotionBlurFilter.h"
#include "framework/Source/PixSharpenFilter.h"
#include "framework/Source/PixSingleComponentFastBlurFilter.h"
#include "framework/Source/PixSingleComponentGaussianBlurFilter.h"
#include "framework/Source/PixTiltShiftFilter.h"
#include "framework/Source/PixUnsharpMaskFilter.h"
#include "framework/Source/PixZoomBlurFilter.h"

namespace zm {

namespace {

// A blur of two passes: its size and both spacings.
template <class Filter>
PixFilterRegistry::Registration<Filter> addSeparableBlur(PixFilterRegistry& registry, const std::string& name) {
    auto registration = registry.add<Filter>(name);
    registration.set("setBlurSize:", &Filter::setBlurSize)
        .set("setVerticalTexelSpacing:", &Filter::setVerticalTexelSpacing)
        .set("setHorizontalTexelSpacing:", &Filter::setHorizontalTexelSpacing);
    return registration;
}

template <class Filter> void addSpacedMorphology(PixFilterRegistry& registry, const std::string& name) {
    registry.add<Filter>(name)
        .set("setVerticalTexelSpacing:", &Filter::setVerticalTexelSpacing)
        .set("setHorizontalTexelSpacing:", &Filter::setHorizontalTexelSpacing);
}

} // namespace

// A kernel takes nine values and a radius is chosen when a filter is made, which a configuration cannot
// give: those filters come with their first kernel and radius 1.
void registerBlurAndMorphologyFilters(PixFilterRegistry& registry) {
    addSeparableBlur<PixGaussianBlurFilter>(registry, "PixGaussianBlurFilter");
    addSeparableBlur<PixBoxBlurFilter>(registry, "PixBoxBlurFilter");
    addSeparableBlur<PixSingleComponentGaussianBlurFilter>(registry, "PixSingleComponentGaussianBlurFilter");
    addSeparableBlur<PixFastBlurFilter>(registry, "PixFastBlurFilter")
        .set("setBlurPasses:", &PixFastBlurFilter::setBlurPasses);
    addSeparableBlur<PixSingleComponentFastBlurFilter>(registry, "PixSingleComponentFastBlurFilter")
        .set("setBlurPasses:", &PixSingleComponentFastBlurFilter::setBlurPasses);
    addSeparableBlur<PixBilateralFilter>(registry, "PixBilateralFilter")
        .set("setDistanceNormalizationFactor:", &PixBilateralFilter::setDistanceNormalizationFactor);
    addSeparableBlur<PixGaussianBlurPositionFilter>(registry, "PixGaussianBlurPositionFilter")
        .set("setBlurCenter:", &PixGaussianBlurPositionFilter::setBlurCenter)
        .set("setBlurRadius:", &PixGaussianBlurPositionFilter::setBlurRadius)
        .set("setAspectRatio:", &PixGaussianBlurPositionFilter::setAspectRatio);
    registry.add<PixMotionBlurFilter>("PixMotionBlurFilter")
        .set("setBlurSize:", &PixMotionBlurFilter::setBlurSize)
        .set("setBlurAngle:", &PixMotionBlurFilter::setBlurAngle);
    registry.add<PixZoomBlurFilter>("PixZoomBlurFilter")
        .set("setBlurSize:", &PixZoomBlurFilter::setBlurSize)
        .set("setBlurCenter:", &PixZoomBlurFilter::setBlurCenter);
    registry.add<PixGaussianSelectiveBlurFilter>("PixGaussianSelectiveBlurFilter")
        .set("setBlurSize:", &PixGaussianSelectiveBlurFilter::setBlurSize)
        .set("setExcludeCircleRadius:", &PixGaussianSelectiveBlurFilter::setExcludeCircleRadius)
        .set("setExcludeCirclePoint:", &PixGaussianSelectiveBlurFilter::setExcludeCirclePoint)
        .set("setExcludeBlurSize:", &PixGaussianSelectiveBlurFilter::setExcludeBlurSize)
        .set("setAspectRatio:", &PixGaussianSelectiveBlurFilter::setAspectRatio);
    registry.add<PixTiltShiftFilter>("PixTiltShiftFilter")
        .set("setBlurSize:", &PixTiltShiftFilter::setBlurSize)
        .set("setTopFocusLevel:", &PixTiltShiftFilter::setTopFocusLevel)
        .set("setBottomFocusLevel:", &PixTiltShiftFilter::setBottomFocusLevel)
        .set("setFocusFallOffRate:", &PixTiltShiftFilter::setFocusFallOffRate);
    registry.add<PixUnsharpMaskFilter>("PixUnsharpMaskFilter")
        .set("setBlurSize:", &PixUnsharpMaskFilter::setBlurSize)
        .set("setIntensity:", &PixUnsharpMaskFilter::setIntensity);
    registry.add<PixMedianFilter>("PixMedianFilter");
    registry.add<PixSharpenFilter>("PixSharpenFilter").set("setSharpness:", &PixSharpenFilter::setSharpness);
    registry.add<Pix3x3ConvolutionFilter>("Pix3x3ConvolutionFilter");
    registry.add<PixEmbossFilter>("PixEmbossFilter").set("setIntensity:", &PixEmbossFilter::setIntensity);
    registry.add<PixLaplacianFilter>("PixLaplacianFilter");

    addSpacedMorphology<PixDilationFilter>(registry, "PixDilationFilter");
    addSpacedMorphology<PixErosionFilter>(registry, "PixErosionFilter");
    addSpacedMorphology<PixRGBDilationFilter>(registry, "PixRGBDilationFilter");
    addSpacedMorphology<PixRGBErosionFilter>(registry, "PixRGBErosionFilter");
    addSpacedMorphology<PixOpeningFilter>(registry, "PixOpeningFilter");
    addSpacedMorphology<PixClosingFilter>(registry, "PixClosingFilter");
    registry.add<PixRGBOpeningFilter>("PixRGBOpeningFilter");
    registry.add<PixRGBClosingFilter>("PixRGBClosingFilter");
}

} // namespace zm
