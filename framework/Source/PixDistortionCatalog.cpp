#include "framework/Source/PixBulgeDistortionFilter.h"
#include "framework/Source/PixFilterCatalog.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixGlassSphereFilter.h"
#include "framework/Source/PixHalftoneFilter.h"
#include "framework/Source/PixPinchDistortionFilter.h"
#include "framework/Source/PixPixellatePositionFilter.h"
#include "framework/Source/PixPolarPixellateFilter.h"
#include "framework/Source/PixPolkaDotFilter.h"
#include "framework/Source/PixStretchDistortionFilter.h"
#include "framework/Source/PixSwirlFilter.h"

namespace zm {

namespace {

enum Shared { Center = 1, AspectRatio = 2 };

// A member with the shared properties it uses.
template <class Filter>
PixFilterRegistry::Registration<Filter> addDistortion(PixFilterRegistry& registry, const std::string& name, int shared) {
    auto registration = registry.add<Filter>(name);
    if (shared & Center)
        registration.set("setCenter:", &PixDistortionFilter::setCenter);
    if (shared & AspectRatio)
        registration.set("setAspectRatio:", &PixDistortionFilter::setAspectRatio);
    return registration;
}

} // namespace

// A polar pixellation's block size takes two values, which a configuration cannot give: it keeps its first.
void registerDistortionAndPixellationFilters(PixFilterRegistry& registry) {
    addDistortion<PixBulgeDistortionFilter>(registry, "PixBulgeDistortionFilter", Center | AspectRatio)
        .set("setRadius:", &PixBulgeDistortionFilter::setRadius)
        .set("setScale:", &PixBulgeDistortionFilter::setScale);
    addDistortion<PixPinchDistortionFilter>(registry, "PixPinchDistortionFilter", Center | AspectRatio)
        .set("setRadius:", &PixPinchDistortionFilter::setRadius)
        .set("setScale:", &PixPinchDistortionFilter::setScale);
    addDistortion<PixSwirlFilter>(registry, "PixSwirlFilter", Center)
        .set("setRadius:", &PixSwirlFilter::setRadius)
        .set("setAngle:", &PixSwirlFilter::setAngle);
    addDistortion<PixStretchDistortionFilter>(registry, "PixStretchDistortionFilter", Center);
    addDistortion<PixPolarPixellateFilter>(registry, "PixPolarPixellateFilter", Center);
    addDistortion<PixSphereRefractionFilter>(registry, "PixSphereRefractionFilter", Center | AspectRatio)
        .set("setRadius:", &PixSphereRefractionFilter::setRadius)
        .set("setRefractiveIndex:", &PixSphereRefractionFilter::setRefractiveIndex);
    addDistortion<PixGlassSphereFilter>(registry, "PixGlassSphereFilter", Center | AspectRatio)
        .set("setRadius:", &PixGlassSphereFilter::setRadius)
        .set("setRefractiveIndex:", &PixGlassSphereFilter::setRefractiveIndex);
    addDistortion<PixPixellateFilter>(registry, "PixPixellateFilter", AspectRatio)
        .set("setFractionalWidthOfAPixel:", &PixPixellateFilter::setFractionalWidthOfAPixel);
    addDistortion<PixPixellatePositionFilter>(registry, "PixPixellatePositionFilter", Center | AspectRatio)
        .set("setFractionalWidthOfAPixel:", &PixPixellatePositionFilter::setFractionalWidthOfAPixel)
        .set("setRadius:", &PixPixellatePositionFilter::setRadius);
    addDistortion<PixHalftoneFilter>(registry, "PixHalftoneFilter", AspectRatio)
        .set("setFractionalWidthOfAPixel:", &PixHalftoneFilter::setFractionalWidthOfAPixel);
    addDistortion<PixPolkaDotFilter>(registry, "PixPolkaDotFilter", AspectRatio)
        .set("setFractionalWidthOfAPixel:", &PixPolkaDotFilter::setFractionalWidthOfAPixel)
        .set("setDotScaling:", &PixPolkaDotFilter::setDotScaling);
}

} // namespace zm
