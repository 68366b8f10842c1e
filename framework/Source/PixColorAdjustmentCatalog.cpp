#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixChromaKeyFilter.h"
#include "framework/Source/PixColorInvertFilter.h"
#include "framework/Source/PixColorMatrixFilter.h"
#include "framework/Source/PixContrastFilter.h"
#include "framework/Source/PixExposureFilter.h"
#include "framework/Source/PixFalseColorFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixGammaFilter.h"
#include "framework/Source/PixGrayscaleFilter.h"
#include "framework/Source/PixHSBFilter.h"
#include "framework/Source/PixHazeFilter.h"
#include "framework/Source/PixHighlightShadowFilter.h"
#include "framework/Source/PixHueFilter.h"
#include "framework/Source/PixLevelsFilter.h"
#include "framework/Source/PixLuminanceThresholdFilter.h"
#include "framework/Source/PixMonochromeFilter.h"
#include "framework/Source/PixOpacityFilter.h"
#include "framework/Source/PixRGBFilter.h"
#include "framework/Source/PixSaturationFilter.h"
#include "framework/Source/PixSepiaFilter.h"
#include "framework/Source/PixWhiteBalanceFilter.h"

namespace zm {

// Colours, matrices and the levels' channels take several values at once, which a configuration cannot
// give: those filters offer their single values only.
void registerColorAdjustmentFilters(PixFilterRegistry& registry) {
    registry.add<PixBrightnessFilter>("PixBrightnessFilter").set("setBrightness:", &PixBrightnessFilter::setBrightness);
    registry.add<PixChromaKeyFilter>("PixChromaKeyFilter")
        .set("setThresholdSensitivity:", &PixChromaKeyFilter::setThresholdSensitivity)
        .set("setSmoothing:", &PixChromaKeyFilter::setSmoothing);
    registry.add<PixColorInvertFilter>("PixColorInvertFilter");
    registry.add<PixColorMatrixFilter>("PixColorMatrixFilter").set("setIntensity:", &PixColorMatrixFilter::setIntensity);
    registry.add<PixContrastFilter>("PixContrastFilter").set("setContrast:", &PixContrastFilter::setContrast);
    registry.add<PixExposureFilter>("PixExposureFilter").set("setExposure:", &PixExposureFilter::setExposure);
    registry.add<PixFalseColorFilter>("PixFalseColorFilter");
    registry.add<PixGammaFilter>("PixGammaFilter").set("setGamma:", &PixGammaFilter::setGamma);
    registry.add<PixGrayscaleFilter>("PixGrayscaleFilter");
    registry.add<PixHSBFilter>("PixHSBFilter")
        .set("rotateHue:", &PixHSBFilter::rotateHue)
        .set("adjustSaturation:", &PixHSBFilter::adjustSaturation)
        .set("adjustBrightness:", &PixHSBFilter::adjustBrightness)
        .set("setIntensity:", &PixHSBFilter::setIntensity)
        .action("reset", &PixHSBFilter::reset);
    registry.add<PixHazeFilter>("PixHazeFilter")
        .set("setDistance:", &PixHazeFilter::setDistance)
        .set("setSlope:", &PixHazeFilter::setSlope);
    registry.add<PixHighlightShadowFilter>("PixHighlightShadowFilter")
        .set("setShadows:", &PixHighlightShadowFilter::setShadows)
        .set("setHighlights:", &PixHighlightShadowFilter::setHighlights);
    registry.add<PixHueFilter>("PixHueFilter").set("setHue:", &PixHueFilter::setHue);
    registry.add<PixLevelsFilter>("PixLevelsFilter");
    registry.add<PixLuminanceThresholdFilter>("PixLuminanceThresholdFilter")
        .set("setThreshold:", &PixLuminanceThresholdFilter::setThreshold);
    registry.add<PixMonochromeFilter>("PixMonochromeFilter").set("setIntensity:", &PixMonochromeFilter::setIntensity);
    registry.add<PixOpacityFilter>("PixOpacityFilter").set("setOpacity:", &PixOpacityFilter::setOpacity);
    registry.add<PixRGBFilter>("PixRGBFilter")
        .set("setRed:", &PixRGBFilter::setRed)
        .set("setGreen:", &PixRGBFilter::setGreen)
        .set("setBlue:", &PixRGBFilter::setBlue);
    registry.add<PixSaturationFilter>("PixSaturationFilter").set("setSaturation:", &PixSaturationFilter::setSaturation);
    registry.add<PixSepiaFilter>("PixSepiaFilter").set("setIntensity:", &PixSepiaFilter::setIntensity);
    registry.add<PixWhiteBalanceFilter>("PixWhiteBalanceFilter")
        .set("setTemperature:", &PixWhiteBalanceFilter::setTemperature)
        .set("setTint:", &PixWhiteBalanceFilter::setTint);
}

} // namespace zm
