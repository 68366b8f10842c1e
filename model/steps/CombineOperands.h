#pragma once

#include "model/Operator.h"
#include "model/Recording.h"

namespace zm {

// The two operands of a tapped operator become the one node that `combine` makes of them: the right
// operand leaves the tree and the combination takes the left operand's place. When they do not
// combine, both shake, left first, and the tree stays as it was.
template <class Combine>
ExprPtr combineOperands(const ExprPtr& root, const Operator& op, TransitionRecord* bag, Combine combine) {
    const ExprPtr left = op.firstExpr();
    const ExprPtr right = op.secondExpr();
    if (!root || !left || !right)
        return root;
    ExprPtr combined = combine(left, right);
    if (!combined) {
        recordFail(bag, left);
        recordFail(bag, right);
        return root;
    }
    ExprPtr rest = root->killExpr(right, bag);
    return rest ? rest->replaceExpr(left, combined, bag) : combined;
}

} // namespace zm
