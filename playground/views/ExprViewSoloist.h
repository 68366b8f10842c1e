#pragma once

#include "model/ExprSoloist.h"
#include "playground/views/ExprView.h"

#include <atomic>
#include <string>

namespace zm {

class NumberLabel;

// The view of a term: a coefficient, a variable and a small raised exponent, each shown only when the
// term needs it (x shows no coefficient, -x shows "-", a power of one no exponent). It is the leaf of
// the view tree: what the finger picks up, what a tap factorizes, and what a move hands from the old
// tree to the new one, labels and all, so that the very same labels glide to their new place.
class ExprViewSoloist : public ExprView {
public:
    // The view of `solo`. With a record that holds an old view of this very term, the new view takes
    // over that view's labels as they stand; otherwise it starts where the record places the term, or
    // at the origin.
    static std::shared_ptr<ExprViewSoloist> create(std::shared_ptr<ExprSoloist> solo,
                                                   PlaygroundView& playgroundView, Baggage* bag = nullptr);
    // A new view of the same term, centred where this one stands.
    std::shared_ptr<ExprViewSoloist> copyWithPlaygroundView(PlaygroundView& playgroundView) const;

    const std::shared_ptr<ExprSoloist>& solo() const { return m_solo; }
    const std::shared_ptr<NumberLabel>& coefLabel() const { return m_coefLabel; }
    const std::shared_ptr<GenericLabel>& varLabel() const { return m_varLabel; }
    const std::shared_ptr<NumberLabel>& exponentLabel() const { return m_exponentLabel; }
    const std::string& numberFontName() const { return m_numberFontName; }
    const std::string& varFontName() const { return m_varFontName; }
    // A mark for the long division's views, which alone set and read it.
    bool nonSegmentZero() const { return m_nonSegmentZero; }
    void setNonSegmentZero(bool nonSegmentZero) { m_nonSegmentZero = nonSegmentZero; }

    // A number always shows its coefficient, a variable term unless it is 1; the exponent shows unless
    // it is 1.
    bool isCoefVisible() const;
    bool isVarVisible() const;
    bool isExponentVisible() const;

    void setObj(ModelObjectPtr obj) override;
    ModelObjectPtr getObj() const override { return m_solo; }
    void setExpr(ExprPtr expr) override;
    ExprPtr getExpr() const override { return m_solo; }

    ViewList getViewList() const override;
    // Every run of every label, shown or not, so that colour and opacity reach them all.
    GenericViewList getGenericSubviews() const override;
    GenericViewList getBaseNodeGenericViews() const override;
    // The shown coefficient and variable; the exponent is not part of it.
    core::Rect getHitbox() const override;
    // The hit box and the exponent to its right.
    bool containsPoint(core::Point point) const override;
    bool draggingOnExpr(core::Point point) const override { return containsPoint(point); }
    // The exponent counts with half its width (it overhangs the next gap), with all of it in the pure
    // width; it does not count in the height.
    float getWidth() const override;
    float getPureWidth() const override;
    float getHeight() const override;
    core::Point getTopLeft() const override;
    void moveTo(core::Point point, Anchor anchor) override;

    std::shared_ptr<ExprView> viewWithExpr(const Expr* expr) const override;
    std::shared_ptr<ExprView> getOverlappingExactMatchExprView(const ExprView& dragged) const override;
    // Itself when the point lies on the shown coefficient or variable (not on the exponent alone).
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const override;
    // A tap factorizes the term (see the source for the cases).
    std::shared_ptr<Step> stepFromTap(core::Point point) const override;
    std::vector<std::shared_ptr<GenericLabel>> getVarLabelsForVar(const std::string& var) const override;

    // Passed on to the coefficient only: the exponent's runs stay on one line.
    void setSpace(float space) override;
    // The exponent at half the size.
    void setFontSize(float size, bool animated) override;

    std::string description() const override;

private:
    ExprViewSoloist() = default;

    // The term and the host's font names.
    void configureDefaults(std::shared_ptr<ExprSoloist> solo, const PlaygroundView& playgroundView);
    // New labels in the host's fonts, size and colour.
    void makeLabels(const PlaygroundView& playgroundView);
    // The coefficient's text: "-" for a variable term of coefficient -1.
    std::string coefText() const;

    std::shared_ptr<ExprSoloist> m_solo;
    std::shared_ptr<NumberLabel> m_coefLabel;
    std::shared_ptr<GenericLabel> m_varLabel;
    std::shared_ptr<NumberLabel> m_exponentLabel;
    std::string m_numberFontName;
    std::string m_varFontName;
    std::atomic<bool> m_nonSegmentZero = false;
};

} // namespace zm
