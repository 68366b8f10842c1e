#pragma once

namespace zm {

class PixFilterRegistry;

// The framework's filters by family, as a pipeline configuration names them (PixFilterRegistry::shared
// adds every family).
void registerColorAdjustmentFilters(PixFilterRegistry& registry);
void registerBlurAndMorphologyFilters(PixFilterRegistry& registry);
void registerBlendAndLookupFilters(PixFilterRegistry& registry);
void registerCurveAndGeometryFilters(PixFilterRegistry& registry);
void registerDistortionAndPixellationFilters(PixFilterRegistry& registry);
void registerEdgeDetectionFilters(PixFilterRegistry& registry);
void registerStylisationFilters(PixFilterRegistry& registry);
void registerImageAnalysisFilters(PixFilterRegistry& registry);
void registerGeneratorAndVoronoiFilters(PixFilterRegistry& registry);

} // namespace zm
