#pragma once

#include "model/Anchor.h"
#include "model/ModelObject.h"

namespace zm {

class Expr;

// What the model tells the views about one transformation while it rewrites the tree: where the view
// of each new object starts, which old objects die and where their views go, which terms must shake
// and which term the finger now holds. The playground's `Baggage` implements it; every operation of
// the model that takes a record also runs without one (a null pointer) and then records nothing.
//
// All objects are compared by identity. Arguments are never null: the model skips a record whose
// objects are missing, as the views would find nothing for them.
class TransitionRecord {
public:
    virtual ~TransitionRecord() = default;

    // The view of `obj` starts where the view of `startAtObj` stands (or where a position recorded
    // earlier for `startAtObj` says), at `anchor`.
    virtual void addPositionForObj(const ModelObjectPtr& obj, const ModelObjectPtr& startAtObj,
                                   Anchor anchor) = 0;
    void addPositionForObj(const ModelObjectPtr& obj, const ModelObjectPtr& startAtObj) {
        addPositionForObj(obj, startAtObj, AnchorCenter);
    }
    // The view of `dying` moves to the view of `endAtObj` while it fades out.
    virtual void addCondemned(const ModelObjectPtr& dying, const ModelObjectPtr& endAtObj) = 0;
    // The move was refused; the view of `expr` shakes.
    virtual void addFailForExpr(const std::shared_ptr<Expr>& expr) = 0;
    // The finger now holds the view of `expr`.
    virtual void setAgentExpr(const std::shared_ptr<Expr>& expr) = 0;
    // Whether a start position has been recorded for `obj` (the `getPositionForObj:` lookup, of
    // which the model only asks whether it finds anything).
    virtual bool hasPositionForObj(const ModelObject& obj) const = 0;
};

} // namespace zm
