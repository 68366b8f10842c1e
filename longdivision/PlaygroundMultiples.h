#pragma once

#include "longdivision/model/ExprSegment.h"
#include "playground/Playground.h"

#include <memory>

namespace zm {

class LDPlaygroundView;

// The modal step that picks one quotient digit for a new subtraction row.
class PlaygroundMultiples : public Playground {
public:
    PlaygroundMultiples(std::shared_ptr<ExprSegment> segment, LDPlaygroundView& playgroundView);

    const std::shared_ptr<ExprSegment>& segment() const { return m_segment; }

private:
    std::shared_ptr<ExprSegment> m_segment;
};

} // namespace zm
