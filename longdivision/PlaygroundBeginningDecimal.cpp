#include "longdivision/PlaygroundBeginningDecimal.h"

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"

namespace zm {

PlaygroundBeginningDecimal::PlaygroundBeginningDecimal(LDPlaygroundView& playgroundView,
                                                       std::shared_ptr<LDPlaygroundMain> mainPlayground)
    : Playground(playgroundView)
    , m_mainPlayground(std::move(mainPlayground)) {}

} // namespace zm
