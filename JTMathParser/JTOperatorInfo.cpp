#include "JTMathParser/JTOperatorInfo.h"

#include "JTMathParser/JTText.h"

#include <algorithm>
#include <cassert>
#include <unordered_map>

namespace zm {

namespace {

namespace F = JTOperatorFunction;
constexpr JTArity Unknown = JTArity::Unknown;
constexpr JTArity Unary = JTArity::Unary;
constexpr JTArity Binary = JTArity::Binary;
constexpr JTAssociativity Left = JTAssociativity::Left;
constexpr JTAssociativity Right = JTAssociativity::Right;

// An operator with two written forms has two rows; every character of every token is
// itself the token of some row, so the longest-prefix search of the tokenizer always
// finds one.
const JTOperatorInfo kOperators[] = {
    {F::LogicalOr, "||", Binary, 0, Left},
    {F::LogicalOr, "\u2228", Binary, 0, Left},
    {F::LogicalAnd, "&&", Binary, 1, Left},
    {F::LogicalAnd, "\u2227", Binary, 1, Left},
    {F::LogicalEqual, "==", Binary, 2, Left},
    {F::LogicalEqual, "=", Binary, 2, Left},
    {F::LogicalNotEqual, "!=", Binary, 2, Left},
    {F::LogicalLessThan, "<", Binary, 3, Left},
    {F::LogicalGreaterThan, ">", Binary, 4, Left},
    {F::LogicalLessThanOrEqual, "<=", Binary, 5, Left},
    {F::LogicalLessThanOrEqual, "\u2264", Binary, 5, Left},
    {F::LogicalGreaterThanOrEqual, ">=", Binary, 6, Left},
    {F::LogicalGreaterThanOrEqual, "\u2265", Binary, 6, Left},
    {F::LogicalNot, "!", Unary, 7, Right},
    {F::LogicalNot, "\u00AC", Unary, 7, Right},
    {F::BitwiseOr, "|", Binary, 8, Left},
    {F::BitwiseXor, "**", Binary, 9, Left},
    {F::BitwiseAnd, "&", Binary, 10, Left},
    {F::LeftShift, "<<", Binary, 11, Left},
    {F::RightShift, ">>", Binary, 12, Left},
    {F::Add, "+", Binary, 13, Left},
    {F::Subtract, "-", Binary, 13, Left},
    {F::Subtract, "\u2212", Binary, 13, Left},
    {F::Multiply, "*", Binary, 14, Left},
    {F::Multiply, "\u00D7", Binary, 14, Left},
    {F::Divide, "/", Binary, 14, Left},
    {F::Divide, "\u00F7", Binary, 14, Left},
    {F::Modulo, "%", Binary, 15, Left},
    {F::BitwiseNot, "~", Unary, 16, Right},
    {F::Negate, "-", Unary, 17, Right},
    {F::Negate, "\u2212", Unary, 17, Right},
    {F::Positive, "+", Unary, 17, Right},
    {F::Factorial, "!", Unary, 18, Left},
    {F::DegreesToRadians, "\u00BA", Unary, 18, Left},
    {F::DegreesToRadians, "\u00B0", Unary, 18, Left},
    {F::Power, "^", Binary, 19, Right},
    {F::OpenParen, "(", Unary, 20, Right},
    {F::CloseParen, ")", Unary, 20, Left},
    {F::Comma, ",", Unknown, 21, Left},
};

using RowMap = std::unordered_map<std::string_view, std::vector<const JTOperatorInfo*>>;

template <typename Key> RowMap buildMap(Key key) {
    RowMap map;
    for (const JTOperatorInfo& row : kOperators) {
        map[key(row)].push_back(&row);
    }
    return map;
}

const RowMap& rowsByFunction() {
    static const RowMap map = [] {
        RowMap built = buildMap([](const JTOperatorInfo& row) { return row.function(); });
        // All rows of one function must agree, or the token's resolution would depend on
        // which row it happened to take.
        for ([[maybe_unused]] const auto& [function, rows] : built) {
            for ([[maybe_unused]] const JTOperatorInfo* row : rows) {
                assert(row->precedence() == rows.front()->precedence() && "mismatched operator precedences");
                assert(row->arity() == rows.front()->arity() && "mismatched operator arity");
                assert(row->defaultAssociativity() == rows.front()->defaultAssociativity() &&
                       "mismatched operator associativity");
            }
        }
        return built;
    }();
    return map;
}

const RowMap& rowsByToken() {
    static const RowMap map = buildMap([](const JTOperatorInfo& row) { return row.token(); });
    return map;
}

std::span<const JTOperatorInfo* const> lookup(const RowMap& map, std::string_view key) {
    auto found = map.find(key);
    if (found == map.end()) {
        return {};
    }
    return found->second;
}

} // namespace

std::span<const JTOperatorInfo> JTOperatorInfo::allOperators() {
    return kOperators;
}

std::span<const JTOperatorInfo* const> JTOperatorInfo::infosForOperatorFunction(std::string_view function) {
    return lookup(rowsByFunction(), function);
}

std::span<const JTOperatorInfo* const> JTOperatorInfo::infosForOperatorToken(std::string_view token) {
    return lookup(rowsByToken(), token);
}

bool JTOperatorInfo::isOperatorCharacter(char32_t c) {
    static const std::vector<char32_t> characters = [] {
        std::vector<char32_t> all;
        for (const JTOperatorInfo& row : kOperators) {
            std::size_t position = 0;
            while (position < row.token().size()) {
                all.push_back(decodeUtf8(row.token(), position));
            }
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return std::binary_search(characters.begin(), characters.end(), c);
}

} // namespace zm
