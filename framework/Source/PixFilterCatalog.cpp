#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixFilterRegistry.h"

namespace zm {

const PixFilterRegistry& PixFilterRegistry::shared() {
    static const PixFilterRegistry registry = [] {
        PixFilterRegistry made;
        registerColorAdjustmentFilters(made);
        registerBlurAndMorphologyFilters(made);
        registerBlendAndLookupFilters(made);
        registerCurveAndGeometryFilters(made);
        registerDistortionAndPixellationFilters(made);
        registerEdgeDetectionFilters(made);
        registerStylisationFilters(made);
        registerImageAnalysisFilters(made);
        registerGeneratorAndVoronoiFilters(made);
        return made;
    }();
    return registry;
}

} // namespace zm
