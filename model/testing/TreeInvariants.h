#pragma once

#include "model/ExprBinary.h"
#include "model/ExprList.h"
#include "model/Operator.h"

#include <string>

namespace zm::testing {

// What every tree must keep after any edit: no missing child, each child's parent is its node, a
// list has two or more members and exactly one operator, linked to its neighbours, between each pair.
// Answers the first fault found, or the empty text.
inline std::string treeFault(const Expr& node) {
    const auto children = node.children();
    for (const ExprPtr& child : children) {
        if (!child)
            return "missing child in " + node.description();
        if (child->exprParent().get() != &node)
            return "wrong parent of " + child->description() + " in " + node.description();
    }
    if (auto list = dynamic_cast<const ExprList*>(&node)) {
        if (list->exprs().size() < 2)
            return "list of fewer than two members: " + node.description();
        if (list->ops().size() + 1 != list->exprs().size())
            return "operator count of " + node.description();
        for (size_t i = 0; i < list->ops().size(); ++i) {
            if (list->ops()[i]->firstExpr() != list->exprs()[i] ||
                list->ops()[i]->secondExpr() != list->exprs()[i + 1])
                return "operator not linked to its neighbours in " + node.description();
        }
    }
    if (auto binary = dynamic_cast<const ExprBinary*>(&node); binary && !binary->op())
        return "binary node without operator";
    for (const ExprPtr& child : children) {
        std::string fault = treeFault(*child);
        if (!fault.empty())
            return fault;
    }
    return "";
}

} // namespace zm::testing
