#include "tools/playground-harness/LongDivisionText.h"

#include <optional>
#include <string>

namespace zm {

namespace {

struct PointedNumber {
    std::string digits; // without the point and leading zeros
    uint32_t dotPosition = ExprLongDivision::kNone;
};

core::Error refusal(std::string message) {
    return {"Harness", 5, std::move(message), {}};
}

core::Result<PointedNumber> readPointed(std::string_view text) {
    PointedNumber number;
    const size_t point = text.find('.');
    std::string digits(text);
    if (point != std::string_view::npos) {
        if (text.find('.', point + 1) != std::string_view::npos)
            return refusal("\"" + std::string(text) + "\" has more than one point");
        digits.erase(point, 1);
    }
    const size_t zeros = std::min(digits.find_first_not_of('0'), digits.size() - (digits.empty() ? 0 : 1));
    number.digits = digits.substr(zeros);
    if (point != std::string_view::npos) {
        if (point < zeros)
            return refusal("\"" + std::string(text) + "\" has a zero right after its point, which a row of digits cannot show");
        number.dotPosition = uint32_t(point - zeros);
    }
    return number;
}

} // namespace

core::Result<std::shared_ptr<ExprLongDivision>> readLongDivisionArgument(std::string_view text) {
    const size_t blank = text.find(' ');
    const std::string_view head = text.substr(0, blank);
    const size_t bracket = head.find(')');
    if (bracket == std::string_view::npos || head.find(')', bracket + 1) != std::string_view::npos)
        return refusal("\"" + std::string(text) + "\" is not DIVISOR)DIVIDEND[ PATTERN]");
    const core::Result<PointedNumber> divisor = readPointed(head.substr(0, bracket));
    if (!divisor)
        return divisor.error();
    const core::Result<PointedNumber> dividend = readPointed(head.substr(bracket + 1));
    if (!dividend)
        return dividend.error();
    const std::string form = divisor->digits + ")" + dividend->digits +
                             (blank == std::string_view::npos ? "" : std::string(text.substr(blank)));
    const auto division = ExprLongDivision::fromString(form);
    if (!division || std::to_string(division->denominator()->coef()) != divisor->digits ||
        std::to_string(division->numerator()->coef()) != dividend->digits)
        return refusal("\"" + std::string(text) +
                       "\" is no long division: the divisor must be at least 1 and both numbers whole digits "
                       "within 32 bits");
    division->setDenominatorDotPosition(divisor->dotPosition);
    division->setNumeratorDotPosition(dividend->dotPosition);
    return division;
}

} // namespace zm
