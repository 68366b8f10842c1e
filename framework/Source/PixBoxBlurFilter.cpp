#include "framework/Source/PixBoxBlurFilter.h"

#include "framework/Source/PixFiveSampleBlurShaders.h"

namespace zm {

std::shared_ptr<PixBoxBlurFilter> PixBoxBlurFilter::create() {
    return std::shared_ptr<PixBoxBlurFilter>(new PixBoxBlurFilter);
}

PixBoxBlurFilter::PixBoxBlurFilter()
    : PixSeparableBlurFilter(pixFiveSampleBlurVertexShader("1.5", "3.5"),
                             pixFiveSampleBlurFragmentShader("0.2", "0.2", "0.2")) {}

} // namespace zm
