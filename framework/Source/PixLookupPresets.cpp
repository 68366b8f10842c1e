#include "framework/Source/PixLookupPresets.h"

#include "framework/Source/PixAlphaBlendFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Log.h"

namespace zm {

std::shared_ptr<PixPicture> PixLookupPresetFilter::lookupPicture(const std::string& imageName,
                                                                 const std::string& missingMessage) {
    auto picture = PixPicture::createWithURL(core::FileLocations::shared().resources / "images" / imageName);
    if (!picture) {
        core::log(core::LogLevel::Error, missingMessage + " (" + picture.error().description + ")");
        return nullptr;
    }
    return picture.value();
}

std::shared_ptr<PixLookupFilter> PixLookupPresetFilter::lookupFilterReading(const std::shared_ptr<PixPicture>& table) {
    auto lookup = PixLookupFilter::create();
    addFilter(lookup);
    table->addTarget(lookup, 1);
    table->processImage();
    m_lookupImageSources.push_back(table);
    return lookup;
}

void PixLookupPresetFilter::recolourThrough(const std::shared_ptr<PixPicture>& table) {
    const auto lookup = lookupFilterReading(table);
    setInitialFilters({lookup});
    setTerminalFilter(lookup);
}

void PixLookupPresetFilter::prepareForImageCapture() {
    for (const auto& table : m_lookupImageSources)
        table->processImage();
    PixFilterGroup::prepareForImageCapture();
}

std::shared_ptr<PixVellouraFilter> PixVellouraFilter::create() {
    const auto table = lookupPicture("lookup_velloura.png", "To use PixVellouraFilter you need to add "
                                                            "lookup_velloura.png from Pix/framework/Resources to "
                                                            "your application bundle.");
    if (!table)
        return nullptr;
    std::shared_ptr<PixVellouraFilter> preset(new PixVellouraFilter);
    preset->recolourThrough(table);
    return preset;
}

std::shared_ptr<PixCorvaneFilter> PixCorvaneFilter::create() {
    const auto table = lookupPicture("lookup_corvane.png", "To use PixCorvaneFilter you need to add "
                                                           "lookup_corvane.png from Pix/framework/Resources to "
                                                           "your application bundle.");
    if (!table)
        return nullptr;
    std::shared_ptr<PixCorvaneFilter> preset(new PixCorvaneFilter);
    preset->recolourThrough(table);
    return preset;
}

std::shared_ptr<PixSoftEleganceFilter> PixSoftEleganceFilter::create() {
    const std::string missing = "To use PixSoftEleganceFilter you need to add lookup_soft_elegance_1.png and "
                                "lookup_soft_elegance_2.png from Pix/framework/Resources to your application "
                                "bundle.";
    const auto firstTable = lookupPicture("lookup_soft_elegance_1.png", missing);
    const auto secondTable = firstTable ? lookupPicture("lookup_soft_elegance_2.png", missing) : nullptr;
    if (!secondTable)
        return nullptr;
    std::shared_ptr<PixSoftEleganceFilter> preset(new PixSoftEleganceFilter);
    const auto firstLookup = preset->lookupFilterReading(firstTable);

    auto glow = PixGaussianBlurFilter::create();
    glow->setBlurSize(9.7f);
    firstLookup->addTarget(glow);
    preset->addFilter(glow);

    auto blend = PixAlphaBlendFilter::create();
    blend->setMix(0.14f);
    firstLookup->addTarget(blend);
    glow->addTarget(blend);
    preset->addFilter(blend);

    const auto secondLookup = preset->lookupFilterReading(secondTable);
    blend->addTarget(secondLookup);

    preset->setInitialFilters({firstLookup});
    preset->setTerminalFilter(secondLookup);
    return preset;
}

} // namespace zm
