#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixCannyEdgeDetectionFilter.h"
#include "framework/Source/PixDirectionalNonMaximumSuppressionFilter.h"
#include "framework/Source/PixDirectionalSobelEdgeDetectionFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixNonMaximumSuppressionFilter.h"
#include "framework/Source/PixPrewittEdgeDetectionFilter.h"
#include "framework/Source/PixSobelEdgeDetectionFilter.h"
#include "framework/Source/PixThresholdEdgeDetectionFilter.h"
#include "framework/Source/PixThresholdedNonMaximumSuppressionFilter.h"
#include "framework/Source/PixWeakPixelInclusionFilter.h"
#include "framework/Source/PixXYDerivativeFilter.h"

namespace zm {

namespace {

// A filter with the neighbour steps every member of the family takes.
template <class Filter>
PixFilterRegistry::Registration<Filter> addWithTexelSize(PixFilterRegistry& registry, const std::string& name) {
    auto registration = registry.add<Filter>(name);
    registration.set("setTexelWidth:", &Filter::setTexelWidth).set("setTexelHeight:", &Filter::setTexelHeight);
    return registration;
}

// A member of the Sobel family, which also takes an edge strength.
template <class Filter>
PixFilterRegistry::Registration<Filter> addSobelFamilyMember(PixFilterRegistry& registry, const std::string& name) {
    auto registration = addWithTexelSize<Filter>(registry, name);
    registration.set("setEdgeStrength:", &Filter::setEdgeStrength);
    return registration;
}

} // namespace

// A configuration makes the thresholded suppression filter in its plain colour space.
void registerEdgeDetectionFilters(PixFilterRegistry& registry) {
    addSobelFamilyMember<PixSobelEdgeDetectionFilter>(registry, "PixSobelEdgeDetectionFilter");
    addSobelFamilyMember<PixPrewittEdgeDetectionFilter>(registry, "PixPrewittEdgeDetectionFilter");
    addSobelFamilyMember<PixXYDerivativeFilter>(registry, "PixXYDerivativeFilter");
    addSobelFamilyMember<PixThresholdEdgeDetectionFilter>(registry, "PixThresholdEdgeDetectionFilter")
        .set("setThreshold:", &PixThresholdEdgeDetectionFilter::setThreshold);
    addWithTexelSize<PixDirectionalSobelEdgeDetectionFilter>(registry, "PixDirectionalSobelEdgeDetectionFilter");
    addWithTexelSize<PixDirectionalNonMaximumSuppressionFilter>(registry, "PixDirectionalNonMaximumSuppressionFilter")
        .set("setUpperThreshold:", &PixDirectionalNonMaximumSuppressionFilter::setUpperThreshold)
        .set("setLowerThreshold:", &PixDirectionalNonMaximumSuppressionFilter::setLowerThreshold);
    addWithTexelSize<PixWeakPixelInclusionFilter>(registry, "PixWeakPixelInclusionFilter");
    addWithTexelSize<PixNonMaximumSuppressionFilter>(registry, "PixNonMaximumSuppressionFilter");
    addWithTexelSize<PixThresholdedNonMaximumSuppressionFilter>(registry, "PixThresholdedNonMaximumSuppressionFilter")
        .set("setThreshold:", &PixThresholdedNonMaximumSuppressionFilter::setThreshold);
    addWithTexelSize<PixCannyEdgeDetectionFilter>(registry, "PixCannyEdgeDetectionFilter")
        .set("setBlurSize:", &PixCannyEdgeDetectionFilter::setBlurSize)
        .set("setUpperThreshold:", &PixCannyEdgeDetectionFilter::setUpperThreshold)
        .set("setLowerThreshold:", &PixCannyEdgeDetectionFilter::setLowerThreshold);
}

} // namespace zm
