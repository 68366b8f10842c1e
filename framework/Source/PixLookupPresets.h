#pragma once

#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixLookupFilter.h"
#include "framework/Source/PixPicture.h"

#include <vector>

namespace zm {

// A colour grade made of lookup filters whose tables are pictures of the application's images. The
// tables are pushed at creation and again before each capture, so that a lookup filter always has its
// table's frame when a picture arrives.
class PixLookupPresetFilter : public PixFilterGroup {
public:
    void prepareForImageCapture() override;

protected:
    // The table of that name in the application's images; nullptr, with the message logged, when it is
    // not there.
    static std::shared_ptr<PixPicture> lookupPicture(const std::string& imageName, const std::string& missingMessage);
    // A lookup filter of the group reading the table (its second input; the first is free).
    std::shared_ptr<PixLookupFilter> lookupFilterReading(const std::shared_ptr<PixPicture>& table);
    // The group as that one lookup filter.
    void recolourThrough(const std::shared_ptr<PixPicture>& table);

    std::vector<std::shared_ptr<PixPicture>> m_lookupImageSources; // in the order they are pushed
};

// A warm fade: lifted blacks, softened highlights, a golden cast ("lookup_velloura.png").
class PixVellouraFilter : public PixLookupPresetFilter {
public:
    // nullptr, logged, when the application has no such image.
    static std::shared_ptr<PixVellouraFilter> create();

private:
    PixVellouraFilter() = default;
};

// A cool contrast: deeper shadows, brighter highlights, a blue cast ("lookup_corvane.png").
class PixCorvaneFilter : public PixLookupPresetFilter {
public:
    // nullptr, logged, when the application has no such image.
    static std::shared_ptr<PixCorvaneFilter> create();

private:
    PixCorvaneFilter() = default;
};

// A soft pair of grades around a glow: the first lookup, a 14 % blend of it with a copy blurred at 9.7
// texels, then the second lookup ("lookup_soft_elegance_1.png" and "lookup_soft_elegance_2.png").
class PixSoftEleganceFilter : public PixLookupPresetFilter {
public:
    // nullptr, logged, when the application lacks either image.
    static std::shared_ptr<PixSoftEleganceFilter> create();

private:
    PixSoftEleganceFilter() = default;
};

} // namespace zm
