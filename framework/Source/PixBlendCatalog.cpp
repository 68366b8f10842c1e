#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixAddBlendFilter.h"
#include "framework/Source/PixAlphaBlendFilter.h"
#include "framework/Source/PixChromaKeyBlendFilter.h"
#include "framework/Source/PixColorBlendFilter.h"
#include "framework/Source/PixColorBurnBlendFilter.h"
#include "framework/Source/PixColorDodgeBlendFilter.h"
#include "framework/Source/PixDarkenBlendFilter.h"
#include "framework/Source/PixDifferenceBlendFilter.h"
#include "framework/Source/PixDissolveBlendFilter.h"
#include "framework/Source/PixDivideBlendFilter.h"
#include "framework/Source/PixExclusionBlendFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixHardLightBlendFilter.h"
#include "framework/Source/PixHueBlendFilter.h"
#include "framework/Source/PixLightenBlendFilter.h"
#include "framework/Source/PixLinearBurnBlendFilter.h"
#include "framework/Source/PixLookupFilter.h"
#include "framework/Source/PixLookupPresets.h"
#include "framework/Source/PixLuminosityBlendFilter.h"
#include "framework/Source/PixMaskFilter.h"
#include "framework/Source/PixMultiplyBlendFilter.h"
#include "framework/Source/PixNormalBlendFilter.h"
#include "framework/Source/PixOverlayBlendFilter.h"
#include "framework/Source/PixSaturationBlendFilter.h"
#include "framework/Source/PixScreenBlendFilter.h"
#include "framework/Source/PixSoftLightBlendFilter.h"
#include "framework/Source/PixSourceOverBlendFilter.h"
#include "framework/Source/PixSubtractBlendFilter.h"

namespace zm {

// A blend or a lookup takes its second picture from a second source, which a pipeline (one straight
// chain) does not give; the presets bring their own.
void registerBlendAndLookupFilters(PixFilterRegistry& registry) {
    registry.add<PixAddBlendFilter>("PixAddBlendFilter");
    registry.add<PixAlphaBlendFilter>("PixAlphaBlendFilter").set("setMix:", &PixAlphaBlendFilter::setMix);
    registry.add<PixChromaKeyBlendFilter>("PixChromaKeyBlendFilter")
        .set("setThresholdSensitivity:", &PixChromaKeyBlendFilter::setThresholdSensitivity)
        .set("setSmoothing:", &PixChromaKeyBlendFilter::setSmoothing);
    registry.add<PixColorBlendFilter>("PixColorBlendFilter");
    registry.add<PixColorBurnBlendFilter>("PixColorBurnBlendFilter");
    registry.add<PixColorDodgeBlendFilter>("PixColorDodgeBlendFilter");
    registry.add<PixDarkenBlendFilter>("PixDarkenBlendFilter");
    registry.add<PixDifferenceBlendFilter>("PixDifferenceBlendFilter");
    registry.add<PixDissolveBlendFilter>("PixDissolveBlendFilter").set("setMix:", &PixDissolveBlendFilter::setMix);
    registry.add<PixDivideBlendFilter>("PixDivideBlendFilter");
    registry.add<PixExclusionBlendFilter>("PixExclusionBlendFilter");
    registry.add<PixHardLightBlendFilter>("PixHardLightBlendFilter");
    registry.add<PixHueBlendFilter>("PixHueBlendFilter");
    registry.add<PixLightenBlendFilter>("PixLightenBlendFilter");
    registry.add<PixLinearBurnBlendFilter>("PixLinearBurnBlendFilter");
    registry.add<PixLuminosityBlendFilter>("PixLuminosityBlendFilter");
    registry.add<PixMaskFilter>("PixMaskFilter");
    registry.add<PixMultiplyBlendFilter>("PixMultiplyBlendFilter");
    registry.add<PixNormalBlendFilter>("PixNormalBlendFilter");
    registry.add<PixOverlayBlendFilter>("PixOverlayBlendFilter");
    registry.add<PixSaturationBlendFilter>("PixSaturationBlendFilter");
    registry.add<PixScreenBlendFilter>("PixScreenBlendFilter");
    registry.add<PixSoftLightBlendFilter>("PixSoftLightBlendFilter");
    registry.add<PixSourceOverBlendFilter>("PixSourceOverBlendFilter");
    registry.add<PixSubtractBlendFilter>("PixSubtractBlendFilter");

    registry.add<PixLookupFilter>("PixLookupFilter");
    registry.add<PixVellouraFilter>("PixVellouraFilter");
    registry.add<PixCorvaneFilter>("PixCorvaneFilter");
    registry.add<PixSoftEleganceFilter>("PixSoftEleganceFilter");
}

} // namespace zm
