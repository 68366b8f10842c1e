#include "framework/Source/PixCrosshairGenerator.h"
#include "framework/Source/PixFilterCatalog.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixJFAVoronoiFilter.h"
#include "framework/Source/PixLineGenerator.h"
#include "framework/Source/PixPerlinNoiseFilter.h"
#include "framework/Source/PixSolidColorGenerator.h"
#include "framework/Source/PixVoronoiConsumerFilter.h"

namespace zm {

// Colours and Voronoi sizes take more than one value, which a configuration cannot give: those keep
// their first settings (a Voronoi size must be set in code). Lines and crosshairs are drawn by calls
// with their coordinates, not by a pipeline's frames.
void registerGeneratorAndVoronoiFilters(PixFilterRegistry& registry) {
    registry.add<PixSolidColorGenerator>("PixSolidColorGenerator")
        .set("setUseExistingAlpha:", &PixSolidColorGenerator::setUseExistingAlpha);
    registry.add<PixLineGenerator>("PixLineGenerator").set("setLineWidth:", &PixLineGenerator::setLineWidth);
    registry.add<PixCrosshairGenerator>("PixCrosshairGenerator")
        .set("setCrosshairWidth:", &PixCrosshairGenerator::setCrosshairWidth);
    registry.add<PixPerlinNoiseFilter>("PixPerlinNoiseFilter").set("setScale:", &PixPerlinNoiseFilter::setScale);
    registry.add<PixJFAVoronoiFilter>("PixJFAVoronoiFilter");
    registry.add<PixVoronoiConsumerFilter>("PixVoronoiConsumerFilter");
}

} // namespace zm
