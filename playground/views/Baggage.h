#pragma once

#include "model/Expr.h"
#include "model/TransitionRecord.h"
#include "playground/views/IGenericView.h"
#include "playground/views/ZMPos.h"

#include <memory>
#include <vector>

namespace zm {

class ExprView;

using PositionPair = Pair<ModelObjectPtr>;
using CondemnedPair = Pair<std::shared_ptr<IGenericView>>;

// The record of one move's view motions, carried from the model to the views. It holds the old view
// tree; the model's editing operations add where the view of each new object starts, which old views
// die and where they go, which terms shake, and which term the finger holds; the new view tree reads it
// while it is built, so that surviving pieces keep their views and new ones grow out of old ones.
//
// A record lives for one step and is only ever added to. Model objects are found by identity. Main
// thread only.
class Baggage : public TransitionRecord {
public:
    // Without a view, every lookup finds nothing until views are added.
    explicit Baggage(std::shared_ptr<ExprView> exprView = nullptr);

    // Old views: roots of old view trees (as a rule the main expression view), and single operator
    // views, searched after the trees.
    void addExprView(std::shared_ptr<ExprView> view);
    void addOpView(std::shared_ptr<IGenericView> view);
    // Every view of `view` that stands for a model object is to start the new view of that object where
    // it stands now (at its centre). A modal playground hands its positions over this way.
    void addGenericView(const IGenericView& view);

    // The old view of a model object, or null.
    std::shared_ptr<IGenericView> getExistingViewForObj(const ModelObject* obj) const;
    // The first position recorded for a model object, or null.
    ZMPosPtr getPositionForObj(const ModelObject* obj) const;
    // Where a view's point at `anchor` stands now; the origin for no view.
    static ZMPosPtr getZMPosFromView(const IGenericView* view, Anchor anchor);

    // The new object starts where the start object's view stands. A position already recorded for the
    // start object wins over its old view (and is taken as it is, whatever the anchor); without either
    // nothing is recorded.
    using TransitionRecord::addPositionForObj;
    void addPositionForObj(const ModelObjectPtr& obj, const ModelObjectPtr& startAtObj,
                           Anchor anchor) override;
    // The object starts where `view` stands.
    void addPositionForObj(const ModelObjectPtr& obj, const IGenericView& view, Anchor anchor = AnchorCenter);
    // The old view of the dying object moves to the old view of the end object (to the origin when that
    // has none) while it fades; nothing is recorded for an object without an old view.
    void addCondemned(const ModelObjectPtr& dying, const ModelObjectPtr& endAtObj) override;
    void addCondemned(const ModelObjectPtr& dying, const ModelObjectPtr& endAtObj, Anchor anchor);
    void addFailForExpr(const ExprPtr& expr) override;
    void setAgentExpr(const ExprPtr& expr) override { m_agentExpr = expr; }
    bool hasPositionForObj(const ModelObject& obj) const override {
        return getPositionForObj(&obj) != nullptr;
    }

    // Whether an old view tree shows `expr`.
    bool exprViewsContainExpr(const Expr* expr) const;

    const std::vector<std::shared_ptr<ExprView>>& exprViews() const { return m_exprViews; }
    const GenericViewList& opViews() const { return m_opViews; }
    const std::vector<PositionPair>& positions() const { return m_positions; }
    const std::vector<CondemnedPair>& condemned() const { return m_condemned; }
    const std::vector<ExprPtr>& failList() const { return m_failList; }
    const ExprPtr& agentExpr() const { return m_agentExpr; }

private:
    std::vector<std::shared_ptr<ExprView>> m_exprViews;
    GenericViewList m_opViews;
    std::vector<PositionPair> m_positions;
    std::vector<CondemnedPair> m_condemned;
    std::vector<ExprPtr> m_failList;
    ExprPtr m_agentExpr;
};

} // namespace zm
