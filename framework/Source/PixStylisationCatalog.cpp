#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixBloomFilter.h"
#include "framework/Source/PixCGAColorspaceFilter.h"
#include "framework/Source/PixCrosshatchFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixKuwaharaFilter.h"
#include "framework/Source/PixKuwaharaRadius3Filter.h"
#include "framework/Source/PixMosaicFilter.h"
#include "framework/Source/PixPosterizeFilter.h"
#include "framework/Source/PixSketchFilter.h"
#include "framework/Source/PixSmoothToonFilter.h"
#include "framework/Source/PixThresholdSketchFilter.h"
#include "framework/Source/PixToonFilter.h"
#include "framework/Source/PixVignetteFilter.h"

namespace zm {

// Colours and sizes take several values at once, which a configuration cannot give: the vignette's
// colour and the mosaic's tile sizes are left out.
void registerStylisationFilters(PixFilterRegistry& registry) {
    registry.add<PixToonFilter>("PixToonFilter")
        .set("setTexelWidth:", &PixToonFilter::setTexelWidth)
        .set("setTexelHeight:", &PixToonFilter::setTexelHeight)
        .set("setThreshold:", &PixToonFilter::setThreshold)
        .set("setQuantizationLevels:", &PixToonFilter::setQuantizationLevels);
    registry.add<PixSmoothToonFilter>("PixSmoothToonFilter")
        .set("setBlurSize:", &PixSmoothToonFilter::setBlurSize)
        .set("setTexelWidth:", &PixSmoothToonFilter::setTexelWidth)
        .set("setTexelHeight:", &PixSmoothToonFilter::setTexelHeight)
        .set("setThreshold:", &PixSmoothToonFilter::setThreshold)
        .set("setQuantizationLevels:", &PixSmoothToonFilter::setQuantizationLevels);
    registry.add<PixSketchFilter>("PixSketchFilter")
        .set("setTexelWidth:", &PixSketchFilter::setTexelWidth)
        .set("setTexelHeight:", &PixSketchFilter::setTexelHeight)
        .set("setEdgeStrength:", &PixSketchFilter::setEdgeStrength);
    registry.add<PixThresholdSketchFilter>("PixThresholdSketchFilter")
        .set("setTexelWidth:", &PixThresholdSketchFilter::setTexelWidth)
        .set("setTexelHeight:", &PixThresholdSketchFilter::setTexelHeight)
        .set("setEdgeStrength:", &PixThresholdSketchFilter::setEdgeStrength)
        .set("setThreshold:", &PixThresholdSketchFilter::setThreshold);
    registry.add<PixKuwaharaFilter>("PixKuwaharaFilter").set("setRadius:", &PixKuwaharaFilter::setRadius);
    registry.add<PixKuwaharaRadius3Filter>("PixKuwaharaRadius3Filter");
    registry.add<PixPosterizeFilter>("PixPosterizeFilter").set("setColorLevels:", &PixPosterizeFilter::setColorLevels);
    registry.add<PixCrosshatchFilter>("PixCrosshatchFilter")
        .set("setCrossHatchSpacing:", &PixCrosshatchFilter::setCrossHatchSpacing)
        .set("setLineWidth:", &PixCrosshatchFilter::setLineWidth);
    registry.add<PixCGAColorspaceFilter>("PixCGAColorspaceFilter");
    registry.add<PixVignetteFilter>("PixVignetteFilter")
        .set("setVignetteCenter:", &PixVignetteFilter::setVignetteCenter)
        .set("setVignetteStart:", &PixVignetteFilter::setVignetteStart)
        .set("setVignetteEnd:", &PixVignetteFilter::setVignetteEnd);
    registry.add<PixBloomFilter>("PixBloomFilter");
    registry.add<PixMosaicFilter>("PixMosaicFilter")
        .set("setTileSet:", &PixMosaicFilter::setTileSet)
        .set("setNumTiles:", &PixMosaicFilter::setNumTiles)
        .set("setColorOn:", &PixMosaicFilter::setColorOn);
}

} // namespace zm
