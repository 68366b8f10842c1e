#pragma once

#include "model/TransitionRecord.h"

namespace zm {

// The model's side of recording: every call tolerates a missing record and missing objects, since
// every operation also runs without a record and a missing object has no view to move.

inline void recordPosition(TransitionRecord* bag, const ModelObjectPtr& obj, const ModelObjectPtr& startAtObj,
                           Anchor anchor = AnchorCenter) {
    if (bag && obj && startAtObj)
        bag->addPositionForObj(obj, startAtObj, anchor);
}

inline void recordCondemned(TransitionRecord* bag, const ModelObjectPtr& dying,
                            const ModelObjectPtr& endAtObj) {
    if (bag && dying && endAtObj)
        bag->addCondemned(dying, endAtObj);
}

inline void recordFail(TransitionRecord* bag, const std::shared_ptr<Expr>& expr) {
    if (bag && expr)
        bag->addFailForExpr(expr);
}

inline bool recordHasPosition(TransitionRecord* bag, const ModelObject* obj) {
    return bag && obj && bag->hasPositionForObj(*obj);
}

} // namespace zm
