#pragma once

#include "model/Operator.h"

namespace zm {

// The minus sign in front of a subtraction row's product. It is only ever shown: the row makes its
// sign's view itself from the symbol.
class OpMinus : public OpParen {
public:
    OpMinus()
        : OpParen(false) {}

    std::string getSymbol() const override { return "-"; }
};

} // namespace zm
