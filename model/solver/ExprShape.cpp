#include "model/solver/ExprShape.h"

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <typeinfo>

namespace zm {

namespace {

template <class T> void appendValue(std::string& bytes, T value) {
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    bytes.append(raw, sizeof value);
}

constexpr uint8_t kTermCode = 0;
constexpr uint8_t kSumCode = 1;
constexpr uint8_t kProductCode = 2;
constexpr uint8_t kOtherCode = 0xff;

// A byte for the model's own classes; any other class is written out by its type's hash. Answers
// the byte.
uint8_t appendClass(std::string& bytes, const Expr& node) {
    const std::type_info& kind = typeid(node);
    static const std::type_info* const known[] = {&typeid(ExprSoloist), &typeid(ExprSum),
                                                  &typeid(ExprProduct), &typeid(ExprQuotient),
                                                  &typeid(ExprEquation)};
    // The same type has the same record within the program, so the records' addresses are asked
    // first; comparing names is the fallback.
    for (const bool byName : {false, true}) {
        for (uint8_t code = 0; code < std::size(known); ++code) {
            if (byName ? kind == *known[code] : &kind == known[code]) {
                bytes.push_back(static_cast<char>(code));
                return code;
            }
        }
    }
    bytes.push_back(static_cast<char>(kOtherCode));
    appendValue(bytes, kind.hash_code());
    return kOtherCode;
}

} // namespace

ExprShape::ExprShape(const Expr& root) {
    append(root, 0);
}

void ExprShape::append(const Expr& node, uint32_t parent) {
    const auto at = static_cast<uint32_t>(m_spans.size());
    m_spans.push_back({&node, static_cast<uint32_t>(m_bytes.size()), 0, 0, 0, parent});
    const uint8_t code = appendClass(m_bytes, node);
    auto term =
        code == kTermCode ? static_cast<const ExprSoloist*>(&node) : dynamic_cast<const ExprSoloist*>(&node);
    if (term) {
        ++m_terms;
        appendValue(m_bytes, term->coef());
        appendValue(m_bytes, term->exponent());
        appendValue(m_bytes, static_cast<uint32_t>(term->var().size()));
        m_bytes.append(term->var());
    }
    const auto children = node.children();
    m_spans[at].countAt = static_cast<uint32_t>(m_bytes.size());
    appendValue(m_bytes, static_cast<uint32_t>(children.size()));
    for (const ExprPtr& child : children)
        append(*child, at);
    m_spans[at].end = static_cast<uint32_t>(m_bytes.size());
    m_spans[at].next = static_cast<uint32_t>(m_spans.size());
}

size_t ExprShape::indexOf(const Expr& node) const {
    auto at =
        std::find_if(m_spans.begin(), m_spans.end(), [&](const Span& span) { return span.node == &node; });
    if (at == m_spans.end())
        throw std::invalid_argument("ExprShape: the node is not part of the tree");
    return static_cast<size_t>(at - m_spans.begin());
}

std::vector<const ExprShape::Span*> ExprShape::membersOf(const Expr& list) const {
    // The members are written one after another, right after the list's own bytes.
    std::vector<const Span*> members;
    for (size_t index = indexOf(list) + 1; members.size() < list.children().size();
         index = m_spans[index].next)
        members.push_back(&m_spans[index]);
    return members;
}

std::string ExprShape::withMemberMoved(const Expr& list, size_t from, size_t to) const {
    std::vector<const Span*> members = membersOf(list);
    if (from >= members.size() || to >= members.size())
        throw std::out_of_range("ExprShape: no such member");
    const uint32_t first = members.front()->begin;
    const uint32_t last = members.back()->end;
    const Span* moving = members[from];
    members.erase(members.begin() + static_cast<std::ptrdiff_t>(from));
    members.insert(members.begin() + static_cast<std::ptrdiff_t>(to), moving);

    std::string bytes;
    bytes.reserve(m_bytes.size());
    bytes.append(m_bytes, 0, first);
    for (const Span* span : members)
        bytes.append(m_bytes, span->begin, span->end - span->begin);
    bytes.append(m_bytes, last, std::string::npos);
    return bytes;
}

std::string ExprShape::withNodeReplaced(const Expr& node, const ExprShape& replacement, bool spliced) const {
    if (!spliced)
        return withNodeReplaced(node, replacement.m_bytes);
    const Span& whole = replacement.m_spans.front();
    uint32_t count = 0;
    std::memcpy(&count, replacement.m_bytes.data() + whole.countAt, sizeof count);
    return withNodeSpliced(node, std::string_view(replacement.m_bytes).substr(whole.countAt + sizeof count),
                           count);
}

std::string ExprShape::withNodeReplaced(const Expr& node, std::string_view replacement) const {
    const Span& span = m_spans[indexOf(node)];
    std::string bytes;
    bytes.reserve(m_bytes.size() + replacement.size());
    bytes.append(m_bytes, 0, span.begin);
    bytes.append(replacement);
    bytes.append(m_bytes, span.end, std::string::npos);
    return bytes;
}

std::string ExprShape::withNodeSpliced(const Expr& node, std::string_view members, uint32_t count) const {
    const size_t index = indexOf(node);
    if (index == 0)
        throw std::invalid_argument("ExprShape: the root has no list to join");
    const Span& span = m_spans[index];
    // The parent's count comes before the node's bytes.
    const Span& parent = m_spans[span.parent];
    uint32_t had = 0;
    std::memcpy(&had, m_bytes.data() + parent.countAt, sizeof had);
    std::string bytes;
    bytes.reserve(m_bytes.size() + members.size());
    bytes.append(m_bytes, 0, parent.countAt);
    appendValue(bytes, had - 1 + count);
    bytes.append(m_bytes, parent.countAt + sizeof had, span.begin - parent.countAt - sizeof had);
    bytes.append(members);
    bytes.append(m_bytes, span.end, std::string::npos);
    return bytes;
}

std::string_view ExprShape::bytesOf(const Expr& node) const {
    const Span& span = m_spans[indexOf(node)];
    return std::string_view(m_bytes).substr(span.begin, span.end - span.begin);
}

std::string ExprShape::sumHeader(uint32_t count) {
    std::string bytes(1, static_cast<char>(kSumCode));
    appendValue(bytes, count);
    return bytes;
}

std::string ExprShape::productHeader(uint32_t count) {
    std::string bytes(1, static_cast<char>(kProductCode));
    appendValue(bytes, count);
    return bytes;
}

std::string ExprShape::withNeighboursJoined(const Expr& list, size_t left, const ExprShape& joined) const {
    const std::vector<const Span*> members = membersOf(list);
    if (left + 1 >= members.size())
        throw std::out_of_range("ExprShape: no such member");
    std::string bytes;
    bytes.reserve(m_bytes.size() + joined.m_bytes.size());
    if (members.size() == 2) {
        const Span& whole = m_spans[indexOf(list)];
        bytes.append(m_bytes, 0, whole.begin);
        bytes.append(joined.m_bytes);
        bytes.append(m_bytes, whole.end, std::string::npos);
        return bytes;
    }
    const Span& whole = m_spans[indexOf(list)];
    bytes.append(m_bytes, 0, whole.countAt);
    appendValue(bytes, static_cast<uint32_t>(members.size() - 1));
    bytes.append(m_bytes, whole.countAt + sizeof(uint32_t),
                 members[left]->begin - whole.countAt - sizeof(uint32_t));
    bytes.append(joined.m_bytes);
    bytes.append(m_bytes, members[left + 1]->end, std::string::npos);
    return bytes;
}

} // namespace zm
