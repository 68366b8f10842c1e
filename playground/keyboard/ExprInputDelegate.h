#pragma once

#include "model/Expr.h"

#include <optional>
#include <string>

namespace zm {

// What receives the expression typed on the algebra keyboard: the both-sides playground and the
// problem-set screens. After every key the keyboard reads its whole text and sends the result, so the
// receiver can show the expression while it is typed.
class ExprInputDelegate {
public:
    virtual ~ExprInputDelegate() = default;

    // The cancel button, after the keyboard has resigned and before its screen goes.
    virtual void cancelInput() = 0;
    // A key left the text empty.
    virtual void clearExprInput() = 0;
    // A key left a text: its parse. A text that does not parse arrives as one term named by the text,
    // not `readable`: it can be shown, but it is no expression to work with.
    virtual void updateInputWithExpr(const ExprPtr& expr, bool readable) = 0;
    // The finish button, in the same place as cancelInput.
    virtual void finishInput() = 0;
    // The text the keyboard starts with, asked once when its screen loads; none leaves it empty.
    virtual std::optional<std::string> initialText() { return std::nullopt; }
};

} // namespace zm
