#pragma once

#include "model/Expr.h"

#include <initializer_list>
#include <string>

namespace zm {

// The debugging text of a step: its name and the text forms of the nodes it concerns,
// "stepAdd(2x, 3x)"; a missing node prints as "(null)".
inline std::string stepText(const std::string& name, std::initializer_list<ExprPtr> exprs) {
    std::string text = name + "(";
    bool first = true;
    for (const ExprPtr& expr : exprs) {
        text += (first ? "" : ", ") + (expr ? expr->description() : std::string("(null)"));
        first = false;
    }
    return text + ")";
}

} // namespace zm
