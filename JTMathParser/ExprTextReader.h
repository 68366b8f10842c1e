#pragma once

#include "model/Expr.h"

#include <string>
#include <string_view>

namespace zm {

// The text reader: the text form of an expression (a problem-set line, the keyboard's text, the
// texts the topics carry) back into a tree. It is the model's `parseString` operation, kept
// beside the parser so that the model does not depend on it; code above both calls it here.
class ExprTextReader {
public:
    // Never null. The empty text gives the number 0; a text that the parser or the model
    // cannot read gives one term of coefficient 1 whose name is the whole text. `failed` is set
    // in both cases and cleared otherwise.
    static ExprPtr parseString(std::string_view text, bool& failed);
    static ExprPtr parseString(std::string_view text);

    // What the parser receives: every run of letters that no digit follows marked as a "$"
    // variable, and every digit run before a marked variable, with a whole-number exponent
    // written right after it, as a call of "coefvarterm" ("3x^2 + 2" becomes
    // "coefvarterm(3,$x^2) + 2").
    static std::string preparedText(std::string_view text);

private:
    // The tree for a text the model can hold exactly, else null.
    static ExprPtr readExactly(std::string_view text);
};

} // namespace zm
