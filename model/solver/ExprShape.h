#pragma once

#include "model/Expr.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// A tree's content as bytes: node by node, depth first, each node's class and, for a term, its
// coefficient, variable and exponent, else its number of children. Two trees have the same bytes
// exactly when they match exactly (the same classes, terms and order), so the bytes stand for the
// tree among the states a search has met, and a reordering of one list's members can be written
// without building the tree it would give.
class ExprShape {
public:
    // No tree: no bytes.
    ExprShape() = default;
    explicit ExprShape(const Expr& root);

    const std::string& bytes() const { return m_bytes; }
    // The single terms of the tree (its `getSolos`).
    uint32_t terms() const { return m_terms; }
    // The bytes of the tree in which the member at `from` of `list`, a list of this tree, is taken
    // out and put back at `to`.
    std::string withMemberMoved(const Expr& list, size_t from, size_t to) const;
    // The bytes of the tree in which `node`, a node of it, gives way to the tree `replacement`
    // describes, or, `spliced`, to that tree's children, which then join the node's parent.
    std::string withNodeReplaced(const Expr& node, const ExprShape& replacement, bool spliced) const;
    // The bytes of the tree in which `node`, a node of it, gives way to a tree written as `bytes`.
    std::string withNodeReplaced(const Expr& node, std::string_view bytes) const;
    // The bytes of the tree in which `node`, a member of a list, gives way to `count` members
    // written as `members`.
    std::string withNodeSpliced(const Expr& node, std::string_view members, uint32_t count) const;

    // Pieces to write a tree with: the bytes of a node of this tree, and the bytes with which a sum or
    // a product of `count` members begins (their members' bytes follow).
    std::string_view bytesOf(const Expr& node) const;
    static std::string sumHeader(uint32_t count);
    static std::string productHeader(uint32_t count);

    // The bytes of the tree in which the members at `left` and `left + 1` of `list`, a list of this
    // tree, give way to the tree `joined` describes; a list left with that one member gives way to it.
    std::string withNeighboursJoined(const Expr& list, size_t left, const ExprShape& joined) const;

private:
    struct Span {
        const Expr* node;
        uint32_t begin;
        uint32_t end;
        // Where the number of children is written.
        uint32_t countAt;
        // The span written after this node's subtree.
        uint32_t next;
        // The node's parent's span.
        uint32_t parent;
    };

    void append(const Expr& node, uint32_t parent);
    size_t indexOf(const Expr& node) const;
    // The spans of `list`'s members, in order.
    std::vector<const Span*> membersOf(const Expr& list) const;

    std::string m_bytes;
    uint32_t m_terms = 0;
    // Where each node's bytes lie, in the order the nodes are written.
    std::vector<Span> m_spans;
};

} // namespace zm
