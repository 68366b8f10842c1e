#pragma once

#include "longdivision/model/ExprSegment.h"
#include "model/Expr.h"
#include "model/ExprSoloist.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// One long division: a divisor and a dividend, both whole numbers, the subtraction rows the
// schoolbook method makes of them, and the worker's progress (the remainder entered, decimal mode,
// the repeating digits marked). The playground changes it in place while the user works, so that a
// division shown again comes back where it was left.
//
// Both numbers fit in 32 bits, the divisor is at least 1 and the dividend at least 0: every maker and
// reader answers null for anything else, since the row building would never end for a divisor below 1.
// Products and sums of the solved test are taken in 64 bits.
//
// It has two interchange forms. The text form is the divisor, ")", the dividend and optionally a blank
// and the repeating digits ("7)100", "3)10000 3"). The dictionary form has "numer", "denom" (texts),
// "numerDotPosition", "denomDotPosition" (numbers, 2147483647 for none), "acceptsRemainders" and,
// when there is one, "pattern" (text).
class ExprLongDivision : public Expr {
public:
    // The value of a position or index field that means none.
    static constexpr uint32_t kNone = 0x7FFFFFFF;

    ExprLongDivision(Key, ExprSoloistPtr numerator, ExprSoloistPtr denominator);

    // The division of `numerator` by `denominator` (the very terms), its rows built; null for a divisor
    // below 1 or a dividend below 0.
    static std::shared_ptr<ExprLongDivision> create(ExprSoloistPtr numerator, ExprSoloistPtr denominator);
    // The same from numbers, also null for a number beyond 32 bits; with repeating digits, when given.
    static std::shared_ptr<ExprLongDivision> longDivision(int64_t numerator, int64_t denominator,
                                                          std::optional<std::string> pattern = std::nullopt);
    // Reads the text form; null for any other text (see the source for what is read).
    static std::shared_ptr<ExprLongDivision> fromString(std::string_view text);
    // Reads the dictionary form; null (and a log line) for a value that is not one.
    static std::shared_ptr<ExprLongDivision> fromDict(const core::Value& dict);
    core::Value dict() const;

    const ExprSoloistPtr& numerator() const { return m_numerator; }
    const ExprSoloistPtr& denominator() const { return m_denominator; }
    // Digits before the point, kNone for no point.
    uint32_t numeratorDotPosition() const { return m_numeratorDotPosition; }
    void setNumeratorDotPosition(uint32_t position) { m_numeratorDotPosition = position; }
    uint32_t denominatorDotPosition() const { return m_denominatorDotPosition; }
    void setDenominatorDotPosition(uint32_t position) { m_denominatorDotPosition = position; }
    bool acceptsRemainders() const { return m_acceptsRemainders; }
    void setAcceptsRemainders(bool accepts) { m_acceptsRemainders = accepts; }
    const ExprSoloistPtr& remainder() const { return m_remainder; }
    void setRemainder(ExprSoloistPtr remainder) { m_remainder = std::move(remainder); }
    const std::vector<ExprSegmentPtr>& calculatedSegments() const { return m_calculatedSegments; }
    // The repeating digits of the quotient; none when it does not repeat (an empty text is none).
    const std::optional<std::string>& pattern() const { return m_pattern; }
    void setPattern(std::optional<std::string> pattern);
    uint32_t finishedSegments() const { return m_finishedSegments; }
    void setFinishedSegments(uint32_t count) { m_finishedSegments = count; }
    bool decimalMode() const { return m_decimalMode; }
    void setDecimalMode(bool decimalMode) { m_decimalMode = decimalMode; }
    uint32_t answerRepeatingStartIndex() const { return m_answerRepeatingStartIndex; }
    void setAnswerRepeatingStartIndex(uint32_t index) { m_answerRepeatingStartIndex = index; }
    uint32_t answerRepeatingEndIndex() const { return m_answerRepeatingEndIndex; }
    void setAnswerRepeatingEndIndex(uint32_t index) { m_answerRepeatingEndIndex = index; }

    // Rebuilds the rows from the dividend and divisor as they are now.
    void calculateSegments();
    ExprSegmentPtr getFirstSegment() const;
    ExprSegmentPtr getSegmentAtIndex(uint32_t index) const;
    ExprSegmentPtr getNextSegmentAfterNumSegments(uint32_t count) const { return getSegmentAtIndex(count); }

    // Whether the quotient `answer` (an integer: in decimal mode with its decimal places, against the
    // dividend with its appended zeros) solves the division: with remainders accepted, answer x divisor
    // + remainder = dividend; otherwise answer x divisor = dividend, or, when allowed, a repeating
    // pattern shows in its digits.
    bool isSolvedWithAnswer(int32_t answer, bool allowRepeating) const;
    // The repeating digits that the last decimal places of `answer` spell (see the source), or none.
    std::optional<std::string> calculateRepeatingPattern(int32_t answer) const;
    bool isRepeatingDecimal() const { return m_pattern.has_value(); }
    // Whether the dividend can take one more decimal place (a zero appended) within 32 bits.
    bool oneMoreDecimalPlaceFits() const;

    ExprPtr copy() const override;
    ExprPtr copyWithBag(TransitionRecord* bag) override;
    // The text form without the pattern ("7)100"), and the text that measures its width ("7.|.100").
    std::string description() const override;
    std::string getSizeApproxString() const override;

private:
    ExprSoloistPtr m_denominator;
    ExprSoloistPtr m_numerator;
    uint32_t m_numeratorDotPosition = kNone;
    uint32_t m_denominatorDotPosition = kNone;
    bool m_acceptsRemainders = false;
    ExprSoloistPtr m_remainder;
    std::vector<ExprSegmentPtr> m_calculatedSegments;
    std::optional<std::string> m_pattern;
    uint32_t m_finishedSegments = 0;
    bool m_decimalMode = false;
    uint32_t m_answerRepeatingStartIndex = kNone;
    uint32_t m_answerRepeatingEndIndex = kNone;
};

using ExprLongDivisionPtr = std::shared_ptr<ExprLongDivision>;

} // namespace zm
