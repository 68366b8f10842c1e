#pragma once

#include "JTMathParser/JTOperatorInfo.h"
#include "JTMathParser/JTParserTerm.h"

#include <array>
#include <optional>
#include <vector>

namespace zm {

// Reduces the terms of one group by precedence: repeatedly the operator of highest
// precedence (the first of several, or the last when the first one's function is
// right-associative for this parser) takes its operands and becomes a function term, until
// fewer than two terms are left.
//
// Operators are only ever removed from a group, never added, so the terms are kept in a
// linked list with one ordered list per precedence: each reduction costs constant time and
// a long flat text reduces in linear time.
class JTGroupReducer {
public:
    JTGroupReducer(std::vector<JTParserTerm::Ptr>& terms, const JTParser& parser);

    // On success `terms` holds the one remaining term (or none); on failure the error says
    // why and `terms` holds what was left.
    std::optional<core::Error> reduce();

private:
    static constexpr int kNone = -1;
    static constexpr std::size_t kLevels = JTOperatorInfo::kMaxPrecedence + 1;

    std::optional<core::Error> reduceAround(int slot);
    std::optional<core::Error> reduceBinary(int slot);
    std::optional<core::Error> reduceUnary(int slot);

    bool isOperator(int slot) const;
    bool isUnaryOperator(int slot) const;
    std::string describe(int slot) const { return m_terms[static_cast<std::size_t>(slot)]->description(); }
    std::string describeGroup() const;
    // Removes the slot's term from its precedence list and answers it; the slot stays in
    // the group, empty, until place() fills it.
    JTParserTerm::Ptr extract(int slot);
    // extract(), and the slot leaves the group.
    JTParserTerm::Ptr take(int slot);
    void place(int slot, JTParserTerm::Ptr term) {
        m_terms[static_cast<std::size_t>(slot)] = std::move(term);
    }
    void compact();

    std::vector<JTParserTerm::Ptr>& m_terms;
    const JTParser& m_parser;
    // The group, in order, as a list over the slots of m_terms.
    std::vector<int> m_previous;
    std::vector<int> m_next;
    int m_first = kNone;
    std::size_t m_count = 0;
    // The operators of each precedence, in order.
    std::vector<int> m_previousAtLevel;
    std::vector<int> m_nextAtLevel;
    std::array<int, kLevels> m_levelHead;
    std::array<int, kLevels> m_levelTail;
    std::array<std::size_t, kLevels> m_levelCount{};
};

} // namespace zm
