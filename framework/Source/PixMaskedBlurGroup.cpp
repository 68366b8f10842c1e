#include "framework/Source/PixMaskedBlurGroup.h"

namespace zm {

PixMaskedBlurGroup::PixMaskedBlurGroup(const std::string& mixingFragmentShaderString)
    : m_blurFilter(PixGaussianBlurFilter::create())
    , m_mixingFilter(PixTwoInputFilter::create(mixingFragmentShaderString)) {
    addFilter(m_blurFilter);
    addFilter(m_mixingFilter);
    m_blurFilter->addTarget(m_mixingFilter, 1);
    // The blur first, so that its frame is waiting when the sharp one completes the pair.
    setInitialFilters({m_blurFilter, m_mixingFilter});
    setTerminalFilter(m_mixingFilter);
}

} // namespace zm
