#include "framework/Source/PixKuwaharaRadius3Filter.h"

#include "framework/Source/PixKuwaharaFilter.h"

#include <string>

namespace zm {

std::shared_ptr<PixKuwaharaRadius3Filter> PixKuwaharaRadius3Filter::create() {
    return std::shared_ptr<PixKuwaharaRadius3Filter>(new PixKuwaharaRadius3Filter);
}

PixKuwaharaRadius3Filter::PixKuwaharaRadius3Filter()
    : PixFilter(PixDefaultVertexShader, std::string("const int radius = 3;\n") + PixKuwaharaFragmentShaderBody) {}

} // namespace zm
