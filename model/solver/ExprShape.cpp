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

// A byte for the model's own classes; any other class is written out by its type's hash.
void appendClass(std::string& bytes, const Expr& node) {
    const std::type_info& kind = typeid(node);
    const std::type_info* const known[] = {&typeid(ExprSoloist), &typeid(ExprSum), &typeid(ExprProduct),
                                           &typeid(ExprQuotient), &typeid(ExprEquation)};
    for (uint8_t code = 0; code < std::size(known); ++code) {
        if (kind == *known[code]) {
            bytes.push_back(static_cast<char>(code));
            return;
        }
    }
    bytes.push_back(static_cast<char>(0xff));
    appendValue(bytes, kind.hash_code());
}

} // namespace

ExprShape::ExprShape(const Expr& root) {
    append(root);
}

void ExprShape::append(const Expr& node) {
    const size_t at = m_spans.size();
    m_spans.push_back({&node, static_cast<uint32_t>(m_bytes.size()), 0, 0});
    appendClass(m_bytes, node);
    if (auto term = dynamic_cast<const ExprSoloist*>(&node)) {
        ++m_terms;
        appendValue(m_bytes, term->coef());
        appendValue(m_bytes, term->exponent());
        appendValue(m_bytes, static_cast<uint32_t>(term->var().size()));
        m_bytes.append(term->var());
    }
    const auto children = node.children();
    appendValue(m_bytes, static_cast<uint32_t>(children.size()));
    for (const ExprPtr& child : children)
        append(*child);
    m_spans[at].end = static_cast<uint32_t>(m_bytes.size());
    m_spans[at].next = static_cast<uint32_t>(m_spans.size());
}

std::string ExprShape::withMemberMoved(const Expr& list, size_t from, size_t to) const {
    auto at =
        std::find_if(m_spans.begin(), m_spans.end(), [&](const Span& span) { return span.node == &list; });
    if (at == m_spans.end())
        throw std::invalid_argument("ExprShape: the list is not part of the tree");
    // The members are written one after another, right after the list's own bytes.
    std::vector<const Span*> members;
    for (size_t index = static_cast<size_t>(at - m_spans.begin()) + 1;
         members.size() < list.children().size(); index = m_spans[index].next)
        members.push_back(&m_spans[index]);
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

} // namespace zm
