#include "longdivision/PlaygroundMultiples.h"

#include "longdivision/LDPlaygroundView.h"

namespace zm {

PlaygroundMultiples::PlaygroundMultiples(std::shared_ptr<ExprSegment> segment, LDPlaygroundView& playgroundView)
    : Playground(playgroundView)
    , m_segment(std::move(segment)) {}

} // namespace zm
