#pragma once

#include "JTMathParser/JTExpression.h"
#include "model/Expr.h"

namespace zm {

// The game's expression tree for a parse tree, or null when the model cannot hold it. Numbers
// become number terms (the fraction dropped, saturating at the 32-bit limits), variables
// terms, "coefvarterm(c, $x)" the term cx, "pow" of two terms a term with the second's
// coefficient as its exponent, "negate" and "subtract" negative terms (the model has no
// subtraction), "add", "multiply", "divide" and "l_eq" sums, products, quotients and
// equations; anything else, an equation anywhere but at the root, or a null anywhere below,
// gives null. Every call makes new nodes.
ExprPtr convertToZMExpr(const JTExpression& expression);

} // namespace zm
