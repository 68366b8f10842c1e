#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixGaussianBlurFilter.h"

namespace zm {

const PixFilterRegistry& PixFilterRegistry::shared() {
    static const PixFilterRegistry registry = [] {
        PixFilterRegistry made;
        registerStillRoadFilters(made);
        registerColorAdjustmentFilters(made);
        return made;
    }();
    return registry;
}

void registerStillRoadFilters(PixFilterRegistry& registry) {
    registry.add<PixGaussianBlurFilter>("PixGaussianBlurFilter")
        .set("setBlurSize:", &PixGaussianBlurFilter::setBlurSize)
        .set("setVerticalTexelSpacing:", &PixGaussianBlurFilter::setVerticalTexelSpacing)
        .set("setHorizontalTexelSpacing:", &PixGaussianBlurFilter::setHorizontalTexelSpacing);
}

} // namespace zm
