#include "JTMathParser/JTParser.h"

#include "JTMathParser/JTParserTerm.h"

#include <optional>

namespace zm {

namespace {

namespace F = JTOperatorFunction;

struct GroupFunctions {
    std::string_view first;
    std::string_view second; // empty for a group of one function
};

constexpr GroupFunctions kGroupFunctions[] = {
    {F::BitwiseOr, {}},       {F::BitwiseXor, {}}, {F::BitwiseAnd, {}},
    {F::LeftShift, {}},       {F::RightShift, {}}, {F::Add, F::Subtract},
    {F::Multiply, F::Divide}, {F::Modulo, {}},     {F::Power, {}},
};
static_assert(std::size(kGroupFunctions) == static_cast<std::size_t>(JTOperatorGroup::Power) + 1);

const GroupFunctions& functionsOf(JTOperatorGroup group) {
    return kGroupFunctions[static_cast<int>(group)];
}

std::optional<JTOperatorGroup> groupOf(std::string_view function) {
    for (std::size_t i = 0; i < std::size(kGroupFunctions); ++i) {
        if (kGroupFunctions[i].first == function ||
            (!kGroupFunctions[i].second.empty() && kGroupFunctions[i].second == function)) {
            return static_cast<JTOperatorGroup>(i);
        }
    }
    return std::nullopt;
}

} // namespace

JTAssociativity JTParser::defaultAssociativity(JTOperatorGroup group) {
    return JTOperatorInfo::infosForOperatorFunction(functionsOf(group).first).front()->defaultAssociativity();
}

void JTParser::setDefaultAssociativity(JTOperatorGroup group, JTAssociativity associativity) {
    for (std::string_view function : {functionsOf(group).first, functionsOf(group).second}) {
        for (const JTOperatorInfo* row : JTOperatorInfo::infosForOperatorFunction(function)) {
            row->setDefaultAssociativity(associativity);
        }
    }
}

core::Result<JTParser> JTParser::make(std::string_view text) {
    core::Result<JTMathStringTokenizer> tokenizer = JTMathStringTokenizer::make(text);
    if (!tokenizer) {
        return tokenizer.error();
    }
    return JTParser(std::move(tokenizer).value());
}

JTParser::JTParser(JTMathStringTokenizer tokenizer)
    : m_tokenizer(std::move(tokenizer)) {
    for (std::size_t i = 0; i < m_associativities.size(); ++i) {
        m_associativities[i] = defaultAssociativity(static_cast<JTOperatorGroup>(i));
    }
}

core::Result<JTExpressionPtr> JTParser::parsedExpression() {
    m_tokenizer.reset();
    core::Result<JTParserTerm::Ptr> root = JTParserTerm::rootTermWithTokenizer(m_tokenizer);
    if (!root) {
        return root.error();
    }
    if (std::optional<core::Error> error = root.value()->resolveWithParser(*this)) {
        return std::move(*error);
    }
    return root.value()->expression();
}

JTAssociativity JTParser::associativityForOperator(std::string_view function) const {
    if (std::optional<JTOperatorGroup> group = groupOf(function)) {
        return associativity(*group);
    }
    auto rows = JTOperatorInfo::infosForOperatorFunction(function);
    return rows.empty() ? JTAssociativity::Left : rows.front()->defaultAssociativity();
}

} // namespace zm
