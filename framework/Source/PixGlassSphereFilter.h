#pragma once

#include "framework/Source/PixSphereRefractionFilter.h"

namespace zm {

// The refracting ball lit as glass: the picture through it the right way up, a bright rim and a
// highlight at its top left; opaque inside, transparent black around it.
class PixGlassSphereFilter : public PixSphereRefractionFilter {
public:
    static std::shared_ptr<PixGlassSphereFilter> create();

protected:
    PixGlassSphereFilter();
};

} // namespace zm
