#pragma once

#include "playground/Playground.h"
#include "playground/views/GenericScrollView.h"

#include <memory>
#include <vector>

namespace zm {

class ExprProduct;
class ExprSoloist;
class ExprView;
class PlaygroundMain;

// The modal playground that lets the user pick how to split a number into two factors. Every factor
// pair of the number but 1 x n is shown as a small product, in a horizontal strip just above the
// number (scrolling when the pairs are wider than the playground); the pairs spread out of the number
// when the playground opens. Touching a pair marks it; releasing on it writes the number as that
// product, the new factors starting where the pair is. Releasing elsewhere in the strip, or touching
// the playground outside it, closes the playground without a step.
//
// The automatic player reads `choices` and `scroller` and taps through `executorTouchBegan` and
// `executorTouchEnded`, with points in the strip's visible coordinates.
//
// Made by the main playground for a tapped number with two or more factor pairs; owned by the host
// view while shown. It holds the main playground weakly and does nothing once it or the host is gone.
// Main thread only.
class PlaygroundFactorizeChoices : public Playground, public GenericScrollViewOwner {
public:
    // Null without a number or a host view. The pairs are built at once.
    static std::shared_ptr<PlaygroundFactorizeChoices> create(std::shared_ptr<ExprSoloist> solo,
                                                              PlaygroundMain& mainPlayground);

    const std::shared_ptr<ExprSoloist>& solo() const { return m_solo; }
    std::shared_ptr<PlaygroundMain> mainPlayground() const { return m_mainPlayground.lock(); }
    // The main expression's view of the number, or null when it shows none.
    const std::shared_ptr<ExprView>& soloView() const { return m_soloView; }
    // The pairs offered, and one product view for each, in ascending order of the first factor.
    const std::vector<std::shared_ptr<ExprProduct>>& factorPairs() const { return m_factorPairs; }
    const std::vector<std::shared_ptr<ExprView>>& choices() const { return m_choices; }
    // The strip: its content coordinates are the host view's while it is not scrolled.
    const std::shared_ptr<GenericScrollView>& scroller() const { return m_scroller; }
    // The pair under the finger, or null.
    const std::shared_ptr<ExprView>& highlightedExprView() const { return m_highlightedExprView; }

    // Builds the strip again and shows it, with the number over the veil.
    void drawInitialState() override;
    // A touch outside the strip closes the playground.
    void touchBegan(core::Point point) override;
    bool touchMoved(core::Point) override { return true; }
    bool touchEnded(core::Point) override { return true; }
    // A simulated finger acts on the strip wherever it lands, shifted by the strip's scrolling.
    void executorTouchBegan(core::Point point) override;
    void executorTouchEnded(core::Point point) override;
    ViewList getConcreteViews() override;
    void clear() override;
    // The pairs spread out of the number into their row (animated over 0.4 s, then the strip flashes its
    // scroll indicators).
    void moveToFinalStateAnimated(bool animated) override;

    // The pairs and their views, stacked on the number, and the strip that holds them.
    void configureViews();
    void configureScrollView();
    // Lays the pairs out in a row whose bottom stands a fifth of the number's height below its top:
    // centred on the number when the row fits, kept 5 points from the left edge and inside the spacing
    // rectangle's width; from x = 0 when it does not fit.
    void positionPairs();
    // The strip's content: the pairs with 8 spacing units per gap (more than the row leaves, so the
    // content reaches past the last pair), and the tallest of the pairs and the number.
    float getWidth() const;
    float getHeight() const;

    // The strip's reports, in its content coordinates.
    void touchingInScrollView(core::Point point) override;
    void tappedInScrollView(core::Point point) override;
    void scrolled() override;

private:
    PlaygroundFactorizeChoices(PlaygroundView& playgroundView, std::shared_ptr<ExprSoloist> solo,
                               std::weak_ptr<PlaygroundMain> mainPlayground);

    bool isShown() const;
    void clearHighlight();
    // The strip's content point under a point of its visible area.
    core::Point contentPoint(core::Point point) const;

    std::shared_ptr<ExprSoloist> m_solo;
    std::weak_ptr<PlaygroundMain> m_mainPlayground;
    std::shared_ptr<ExprView> m_soloView;
    std::vector<std::shared_ptr<ExprProduct>> m_factorPairs;
    std::vector<std::shared_ptr<ExprView>> m_choices;
    std::shared_ptr<GenericScrollView> m_scroller;
    std::shared_ptr<ExprView> m_highlightedExprView;
};

} // namespace zm
