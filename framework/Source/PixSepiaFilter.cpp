#include "framework/Source/PixSepiaFilter.h"

namespace zm {

std::shared_ptr<PixSepiaFilter> PixSepiaFilter::create() {
    return std::shared_ptr<PixSepiaFilter>(new PixSepiaFilter);
}

PixSepiaFilter::PixSepiaFilter() {
    setIntensity(1.0f);
    setColorMatrix(kSepiaMatrix);
}

} // namespace zm
