#include "playground/views/OpView.h"

#include "playground/PlaygroundView.h"
#include "playground/views/Fonts.h"

namespace zm {

OpView::OpView(Key key, const Operator& op, const PlaygroundView& playgroundView)
    : GenericLabel(key, op.getSymbol(),
                   fontNamed(playgroundView.numberFontName(), playgroundView.baseFontSize())) {}

void OpView::init(const PlaygroundView& playgroundView) {
    setUserInteractionEnabled(false);
    setColor(playgroundView.expressionColor());
    setFontSize(playgroundView.baseFontSize(), false);
}

GenericViewList OpView::getBaseNodeGenericViews() const {
    return {genericSelf()};
}

void OpView::setObj(ModelObjectPtr obj) {
    m_op = std::dynamic_pointer_cast<Operator>(obj);
}

void OpView::dehighlight() {
    setColor(core::Color::white());
}

} // namespace zm
