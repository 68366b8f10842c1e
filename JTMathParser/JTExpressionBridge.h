#pragma once

#include "JTMathParser/JTExpression.h"
#include "model/Expr.h"

namespace zm {

// The game's expression tree for a parse tree, or null when the model cannot hold it exactly.
// Whole numbers become number terms (saturating at the 32-bit limits; a number with a fraction
// part gives null), variables terms, "coefvarterm(c, $x^e)" the term cx^e, "pow" of a term with
// no exponent and no sign or coefficient of its own in brackets, to a whole number, that term
// with the number as its exponent, "negate" and "subtract" negative terms (the model has no
// subtraction), "add", "multiply", "divide" and "l_eq" sums, products, quotients and equations;
// anything else, an equation anywhere but at the root, or a null anywhere below, gives null.
// Every call makes new nodes.
ExprPtr convertToZMExpr(const JTExpression& expression);

} // namespace zm
