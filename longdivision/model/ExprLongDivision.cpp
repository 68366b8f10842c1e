#include "longdivision/model/ExprLongDivision.h"

#include "platform/core/Log.h"
#include "platform/core/NumberText.h"

#include <limits>

namespace zm {

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// The pieces of `text` between the separators, empty ones included ("3)1 " gives "3)1" and "").
std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::string_view::npos; end = text.find(separator, start)) {
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// A dot position read from a dictionary: none, or a gap of a number of `digits` digits (0 before the
// first digit, `digits` after the last).
std::optional<uint32_t> dotPositionWithin(const core::Value* value, size_t digits) {
    const int64_t position = value ? value->integerValue() : 0;
    if (position == ExprLongDivision::kNone || (position >= 0 && uint64_t(position) <= digits))
        return uint32_t(position);
    return std::nullopt;
}

std::shared_ptr<ExprLongDivision> refuse(const char* why) {
    core::logf(core::LogLevel::Warning, "not a long division: %s", why);
    return nullptr;
}

} // namespace

ExprLongDivision::ExprLongDivision(Key, ExprSoloistPtr numerator, ExprSoloistPtr denominator)
    : m_denominator(std::move(denominator))
    , m_numerator(std::move(numerator))
    , m_remainder(ExprSoloist::soloWithCoef(0)) {}

std::shared_ptr<ExprLongDivision> ExprLongDivision::create(ExprSoloistPtr numerator,
                                                           ExprSoloistPtr denominator) {
    if (!numerator || !denominator || numerator->coef() < 0 || denominator->coef() < 1)
        return nullptr;
    auto division = std::make_shared<ExprLongDivision>(Key{}, std::move(numerator), std::move(denominator));
    division->calculateSegments();
    return division;
}

std::shared_ptr<ExprLongDivision> ExprLongDivision::longDivision(int64_t numerator, int64_t denominator,
                                                                 std::optional<std::string> pattern) {
    if (numerator < 0 || numerator > kInt32Max || denominator < 1 || denominator > kInt32Max)
        return nullptr;
    auto division = create(ExprSoloist::soloWithCoef(int32_t(numerator)),
                           ExprSoloist::soloWithCoef(int32_t(denominator)));
    division->setPattern(std::move(pattern));
    return division;
}

std::shared_ptr<ExprLongDivision> ExprLongDivision::fromString(std::string_view text) {
    const std::vector<std::string_view> pieces = split(text, ' ');
    if (pieces.size() == 1) {
        const std::vector<std::string_view> numbers = split(pieces[0], ')');
        if (numbers.size() != 2)
            return nullptr;
        return longDivision(core::integerValue(numbers[1]), core::integerValue(numbers[0]));
    }
    // A head without ")" reads as a number divided by itself, as the text form always has.
    const std::vector<std::string_view> numbers = split(pieces.front(), ')');
    return longDivision(core::integerValue(numbers.back()), core::integerValue(numbers.front()),
                        std::string(pieces.back()));
}

std::shared_ptr<ExprLongDivision> ExprLongDivision::fromDict(const core::Value& dict) {
    if (!dict.asDictionary())
        return refuse("no dictionary");
    const core::Value* numer = dict.find("numer");
    const core::Value* denom = dict.find("denom");
    const core::Value* pattern = dict.find("pattern");
    if (pattern && !pattern->asString())
        return refuse("its pattern is no text");
    auto division = longDivision(numer ? numer->integerValue() : 0, denom ? denom->integerValue() : 0,
                                 pattern ? std::optional(*pattern->asString()) : std::nullopt);
    if (!division)
        return refuse("its divisor is below 1, its dividend below 0 or one is beyond 32 bits");
    const std::optional<uint32_t> numerDot =
        dotPositionWithin(dict.find("numerDotPosition"), std::to_string(division->m_numerator->coef()).size());
    const std::optional<uint32_t> denomDot = dotPositionWithin(
        dict.find("denomDotPosition"), std::to_string(division->m_denominator->coef()).size());
    if (!numerDot || !denomDot)
        return refuse("a dot position lies outside its number");
    division->m_numeratorDotPosition = *numerDot;
    division->m_denominatorDotPosition = *denomDot;
    const core::Value* accepts = dict.find("acceptsRemainders");
    division->m_acceptsRemainders = accepts && accepts->boolValue();
    return division;
}

core::Value ExprLongDivision::dict() const {
    core::Dictionary dict{
        {"numer", std::to_string(m_numerator->coef())},
        {"denom", std::to_string(m_denominator->coef())},
        {"numerDotPosition", m_numeratorDotPosition},
        {"denomDotPosition", m_denominatorDotPosition},
        {"acceptsRemainders", m_acceptsRemainders},
    };
    if (m_pattern)
        dict.set("pattern", *m_pattern);
    return dict;
}

void ExprLongDivision::setPattern(std::optional<std::string> pattern) {
    // An empty pattern repeats nothing; taken as a pattern, the repeating check could never end.
    m_pattern = pattern && !pattern->empty() ? std::move(pattern) : std::nullopt;
}

void ExprLongDivision::calculateSegments() {
    m_calculatedSegments.clear();
    const int64_t divisor = m_denominator->coef();
    if (divisor < 1)
        return;
    const std::string digits = std::to_string(m_numerator->coef());
    size_t next = 0;
    while (next < digits.size()) {
        // The running value is the last difference (0 for the first row) with digits brought down
        // until it reaches the divisor or the digits run out. It never exceeds the dividend.
        int64_t running = m_calculatedSegments.empty() ? 0 : m_calculatedSegments.back()->difference()->coef();
        uint32_t pulled = 0;
        while (next < digits.size() && running < divisor) {
            running = running * 10 + (digits[next++] - '0');
            ++pulled;
        }
        auto segment = ExprSegment::create(ExprSoloist::soloWithCoef(int32_t(running)), m_denominator);
        segment->calculateValues();
        segment->setDigitsPulledFromNumerator(pulled);
        m_calculatedSegments.push_back(std::move(segment));
    }
}

ExprSegmentPtr ExprLongDivision::getFirstSegment() const {
    return getSegmentAtIndex(0);
}

ExprSegmentPtr ExprLongDivision::getSegmentAtIndex(uint32_t index) const {
    return index < m_calculatedSegments.size() ? m_calculatedSegments[index] : nullptr;
}

bool ExprLongDivision::isSolvedWithAnswer(int32_t answer, bool allowRepeating) const {
    const int64_t product = int64_t(answer) * m_denominator->coef();
    const int64_t dividend = m_numerator->coef();
    if (m_acceptsRemainders)
        return product + m_remainder->coef() == dividend;
    if (product == dividend)
        return true;
    return allowRepeating && calculateRepeatingPattern(answer).has_value();
}

std::optional<std::string> ExprLongDivision::calculateRepeatingPattern(int32_t answer) const {
    if (m_numeratorDotPosition == kNone)
        return std::nullopt;
    std::string dividend = std::to_string(m_numerator->coef());
    dividend.pop_back();
    if (m_numeratorDotPosition >= dividend.size())
        return std::nullopt;
    // The decimal places but the last: their trailing zeros say how many quotient digits to look at.
    const std::string places = dividend.substr(m_numeratorDotPosition);
    const size_t zeros = places.size() - std::min(places.size(), places.find_last_not_of('0') + 1);
    const std::string quotient = std::to_string(answer);
    if (quotient.size() < zeros || zeros < 2)
        return std::nullopt;
    const std::string last = quotient.substr(quotient.size() - zeros);
    std::string seen;
    for (size_t i = 0; i < last.size(); ++i) {
        if (const size_t first = seen.find(last[i]); first != std::string::npos)
            return last.substr(first, i - first);
        seen.push_back(last[i]);
    }
    return std::nullopt;
}

bool ExprLongDivision::oneMoreDecimalPlaceFits() const {
    return int64_t(m_numerator->coef()) * 10 <= kInt32Max;
}

ExprPtr ExprLongDivision::copy() const {
    auto copied = create(std::static_pointer_cast<ExprSoloist>(m_numerator->copy()),
                         std::static_pointer_cast<ExprSoloist>(m_denominator->copy()));
    copied->m_numeratorDotPosition = m_numeratorDotPosition;
    copied->m_denominatorDotPosition = m_denominatorDotPosition;
    copied->m_acceptsRemainders = m_acceptsRemainders;
    copied->m_finishedSegments = m_finishedSegments;
    copied->m_remainder = std::static_pointer_cast<ExprSoloist>(m_remainder->copy());
    copied->m_decimalMode = m_decimalMode;
    copied->m_answerRepeatingStartIndex = m_answerRepeatingStartIndex;
    copied->m_answerRepeatingEndIndex = m_answerRepeatingEndIndex;
    copied->m_pattern = m_pattern;
    return copied;
}

ExprPtr ExprLongDivision::copyWithBag(TransitionRecord*) {
    return copy();
}

std::string ExprLongDivision::description() const {
    return m_denominator->getSizeApproxString() + ")" + m_numerator->getSizeApproxString();
}

std::string ExprLongDivision::getSizeApproxString() const {
    return m_denominator->getSizeApproxString() + ".|." + m_numerator->getSizeApproxString();
}

} // namespace zm
