#pragma once

#include "model/Expr.h"

#include <memory>
#include <string>

namespace zm {

class ModalPlaygroundFactory;
class Playground;
class Step;
class TransitionRecord;

using StepPtr = std::shared_ptr<Step>;

// One application of one rule of algebra to one expression tree. A step holds the nodes and
// operators of that tree the move concerns and, applied, rewrites the tree in place through the
// nodes' editing operations, answering the node at the top of the tree afterwards. A refused move
// leaves the tree as it was and lists the terms concerned in the record's fail list. A step is
// applied at most once.
class Step {
public:
    virtual ~Step() = default;

    // The modal playground to show instead of applying the step, or null.
    virtual std::shared_ptr<Playground> createModalPlayground(ModalPlaygroundFactory& mainPlayground);
    virtual ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag);
    // The same step aimed at the nodes and operators of `root` that carry the same ids; null when
    // the class cannot be re-targeted or the other tree lacks what it needs.
    virtual StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const;
    // A text for debugging.
    virtual std::string description() const;

protected:
    Step() = default;
};

// The trial of a step on a private copy of its tree: copy the tree, stamp the copy with the tree's
// ids, re-target the step onto the copy and apply it there without a record. Answers the expression
// reached, or null when the step cannot be re-targeted; `tree` is left as it was.
ExprPtr applyToIdCopy(const Step& step, const Expr& tree);

// Whether the trial of `step` changes `tree` (its result is not an exact match of it).
bool stepChangesExpr(const Step& step, const Expr& tree);

} // namespace zm
