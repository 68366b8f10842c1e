#include "JTMathParser/JTGroupReducer.h"

#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTParser.h"

#include <cassert>

namespace zm {

JTGroupReducer::JTGroupReducer(std::vector<JTParserTerm::Ptr>& terms, const JTParser& parser)
    : m_terms(terms)
    , m_parser(parser)
    , m_previous(terms.size())
    , m_next(terms.size())
    , m_previousAtLevel(terms.size(), kNone)
    , m_nextAtLevel(terms.size(), kNone) {
    m_levelHead.fill(kNone);
    m_levelTail.fill(kNone);
    int size = static_cast<int>(terms.size());
    for (int slot = 0; slot < size; ++slot) {
        m_previous[static_cast<std::size_t>(slot)] = slot - 1;
        m_next[static_cast<std::size_t>(slot)] = slot + 1 < size ? slot + 1 : kNone;
        if (!isOperator(slot)) {
            continue;
        }
        std::size_t level =
            static_cast<std::size_t>(terms[static_cast<std::size_t>(slot)]->operatorPrecedence());
        assert(level < kLevels);
        m_previousAtLevel[static_cast<std::size_t>(slot)] = m_levelTail[level];
        if (m_levelTail[level] == kNone) {
            m_levelHead[level] = slot;
        } else {
            m_nextAtLevel[static_cast<std::size_t>(m_levelTail[level])] = slot;
        }
        m_levelTail[level] = slot;
        ++m_levelCount[level];
    }
    m_first = size > 0 ? 0 : kNone;
    m_count = terms.size();
}

bool JTGroupReducer::isOperator(int slot) const {
    const JTParserTerm::Ptr& term = m_terms[static_cast<std::size_t>(slot)];
    return term && term->type() == JTTermKind::Operator;
}

bool JTGroupReducer::isUnaryOperator(int slot) const {
    return isOperator(slot) && m_terms[static_cast<std::size_t>(slot)]->operatorArity() == JTArity::Unary;
}

std::string JTGroupReducer::describeGroup() const {
    std::string text = "(";
    for (int slot = m_first; slot != kNone; slot = m_next[static_cast<std::size_t>(slot)]) {
        text += describe(slot);
    }
    return text + ")";
}

JTParserTerm::Ptr JTGroupReducer::extract(int slot) {
    auto index = static_cast<std::size_t>(slot);
    if (isOperator(slot)) {
        std::size_t level = static_cast<std::size_t>(m_terms[index]->operatorPrecedence());
        int before = m_previousAtLevel[index];
        int after = m_nextAtLevel[index];
        (before == kNone ? m_levelHead[level] : m_nextAtLevel[static_cast<std::size_t>(before)]) = after;
        (after == kNone ? m_levelTail[level] : m_previousAtLevel[static_cast<std::size_t>(after)]) = before;
        --m_levelCount[level];
    }
    return std::move(m_terms[index]);
}

JTParserTerm::Ptr JTGroupReducer::take(int slot) {
    JTParserTerm::Ptr term = extract(slot);
    auto index = static_cast<std::size_t>(slot);
    int before = m_previous[index];
    int after = m_next[index];
    (before == kNone ? m_first : m_next[static_cast<std::size_t>(before)]) = after;
    if (after != kNone) {
        m_previous[static_cast<std::size_t>(after)] = before;
    }
    --m_count;
    return term;
}

void JTGroupReducer::compact() {
    std::vector<JTParserTerm::Ptr> remaining;
    remaining.reserve(m_count);
    for (int slot = m_first; slot != kNone; slot = m_next[static_cast<std::size_t>(slot)]) {
        if (m_terms[static_cast<std::size_t>(slot)]) {
            remaining.push_back(std::move(m_terms[static_cast<std::size_t>(slot)]));
        }
    }
    m_terms = std::move(remaining);
}

std::optional<core::Error> JTGroupReducer::reduce() {
    std::optional<core::Error> error;
    while (!error && m_count >= 2) {
        int slot = kNone;
        for (std::size_t level = kLevels; level-- > 0;) {
            if (m_levelCount[level] > 0) {
                slot = m_levelHead[level];
                // Ties follow the associativity of the first tied operator.
                if (m_levelCount[level] > 1 &&
                    m_parser.associativityForOperator(
                        m_terms[static_cast<std::size_t>(slot)]->operatorFunction()) ==
                        JTAssociativity::Right) {
                    slot = m_levelTail[level];
                }
                break;
            }
        }
        if (slot == kNone) {
            error = makeParseError(JTErrorInvalidFormat, "invalid format: " + describeGroup());
        } else {
            error = reduceAround(slot);
        }
    }
    compact();
    return error;
}

std::optional<core::Error> JTGroupReducer::reduceAround(int slot) {
    switch (m_terms[static_cast<std::size_t>(slot)]->operatorArity()) {
    case JTArity::Binary:
        return reduceBinary(slot);
    case JTArity::Unary:
        return reduceUnary(slot);
    case JTArity::Unknown:
        break;
    }
    return makeParseError(JTErrorUnknownArity, "unknown arity for operator: " + describe(slot));
}

std::optional<core::Error> JTGroupReducer::reduceBinary(int slot) {
    auto index = static_cast<std::size_t>(slot);
    int left = m_previous[index];
    if (left == kNone) {
        return makeParseError(JTErrorBinaryMissingLeft, "no left operand to binary " + describe(slot));
    }
    int first = m_next[index];
    if (first == kNone) {
        return makeParseError(JTErrorBinaryMissingRight, "no right operand to binary " + describe(slot));
    }
    // The right operand takes a run of prefix operators with it: "2^--3" is pow(2, --3).
    int last = first;
    while (isUnaryOperator(last)) {
        int following = m_next[static_cast<std::size_t>(last)];
        if (following == kNone) {
            return makeParseError(JTErrorUnaryMissingRight, "no right operand to unary " + describe(last));
        }
        last = following;
    }
    JTParserTerm::Ptr right;
    if (first == last) {
        right = take(first);
    } else {
        std::vector<JTParserTerm::Ptr> run;
        int stop = m_next[static_cast<std::size_t>(last)];
        for (int member = first; member != stop;) {
            int following = m_next[static_cast<std::size_t>(member)];
            run.push_back(take(member));
            member = following;
        }
        core::Result<JTParserTerm::Ptr> group = JTParserTerm::makeGroup(std::move(run));
        if (!group) {
            return group.error();
        }
        right = std::move(group).value();
    }
    std::string function(m_terms[index]->operatorFunction());
    take(slot);
    std::vector<JTParserTerm::Ptr> operands;
    operands.push_back(extract(left));
    operands.push_back(std::move(right));
    core::Result<JTParserTerm::Ptr> reduced =
        JTParserTerm::makeFunction(std::move(function), std::move(operands));
    if (!reduced) {
        return reduced.error();
    }
    place(left, std::move(reduced).value());
    return std::nullopt;
}

std::optional<core::Error> JTGroupReducer::reduceUnary(int slot) {
    auto index = static_cast<std::size_t>(slot);
    std::string function(m_terms[index]->operatorFunction());
    bool prefix = m_parser.associativityForOperator(function) == JTAssociativity::Right;
    int operandSlot = prefix ? m_next[index] : m_previous[index];
    if (operandSlot == kNone) {
        return prefix
                   ? makeParseError(JTErrorUnaryMissingRight, "no right operand to unary " + describe(slot))
                   : makeParseError(JTErrorUnaryMissingLeft, "no left operand to unary " + describe(slot));
    }
    // The function term takes the place of whichever of the two comes first.
    std::vector<JTParserTerm::Ptr> operand;
    if (prefix) {
        operand.push_back(take(operandSlot));
        extract(slot);
    } else {
        operand.push_back(extract(operandSlot));
        take(slot);
    }
    int kept = prefix ? slot : operandSlot;
    core::Result<JTParserTerm::Ptr> reduced =
        JTParserTerm::makeFunction(std::move(function), std::move(operand));
    if (!reduced) {
        return reduced.error();
    }
    place(kept, std::move(reduced).value());
    return std::nullopt;
}

} // namespace zm
