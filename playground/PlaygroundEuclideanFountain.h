#pragma once

#include "model/ArithmeticType.h"
#include "model/Expr.h"
#include "playground/Playground.h"
#include "playground/keyboard/ExprInputDelegate.h"

#include <memory>
#include <vector>

namespace zm {

class ExprEquation;
class ExprInputViewController;
class ExprView;
class GenericLabel;
class OpViewEquals;
class PlaygroundMain;

// The modal playground that does the same operation to both sides of an equation, opened by a tap on
// its "=". First (state 0) the signs "+", "*" and "÷" fly out of a copy of the "=" and the player taps
// one. Then (state 1) the expression steps aside, the chosen sign stands by the "=", the algebra
// keyboard opens, and each key shows the typed operand beside the sign. Finishing the keyboard applies
// the operation with the operand to both sides through the main playground, the copies growing out of
// the operand on screen; cancelling it, or a touch off the signs, closes the playground without a step
// (and the keyboard with it).
//
// The host view owns it; it is the input delegate of the keyboard it opens, which its host's container
// keeps. Main thread only.
class PlaygroundEuclideanFountain : public Playground, public ExprInputDelegate {
public:
    static constexpr int kChoosingOperation = 0;
    static constexpr int kTypingOperand = 1;

    // Over the main playground's host view; null when that is gone.
    static std::shared_ptr<PlaygroundEuclideanFountain> create(std::shared_ptr<ExprEquation> equation,
                                                               PlaygroundMain& mainPlayground);
    ~PlaygroundEuclideanFountain() override;

    int state() const { return m_state; }
    const std::shared_ptr<ExprEquation>& equation() const { return m_equation; }
    std::shared_ptr<PlaygroundMain> mainPlayground() const { return m_mainPlayground.lock(); }
    // The copy of the "=" that the signs fly out of and stand by.
    const std::shared_ptr<OpViewEquals>& equalsView() const { return m_equalsView; }
    const std::shared_ptr<GenericLabel>& plusView() const { return m_plusView; }
    const std::shared_ptr<GenericLabel>& timesView() const { return m_timesView; }
    const std::shared_ptr<GenericLabel>& divideView() const { return m_divideView; }
    // The three signs in the order of their arithmetic types; empty when the "=" has no view.
    const std::vector<std::shared_ptr<GenericLabel>>& operatorViews() const { return m_operatorViews; }
    const std::shared_ptr<GenericLabel>& chosenOpView() const { return m_chosenOpView; }
    int chosenArithType() const { return m_chosenArithType; }
    // The operand as the keyboard last sent it (null while nothing is typed), and its view.
    const ExprPtr& currentExpr() const { return m_currentExpr; }
    const std::shared_ptr<ExprView>& inputExprView() const { return m_inputExprView; }
    // The keyboard opened for the operand, while it is up.
    std::shared_ptr<ExprInputViewController> keyboard() const { return m_keyboard.lock(); }

    void drawInitialState() override;
    // A touch on a sign enlarges it; any other touch closes the playground.
    void touchBegan(core::Point point) override;
    bool touchMoved(core::Point) override { return true; }
    // A sign released in state 0 is chosen: the playground moves to typing the operand.
    bool touchEnded(core::Point point) override;
    ViewList getConcreteViews() override;
    void moveToFinalStateAnimated(bool animated) override;

    // The "=" copy and the three signs over the main expression's "=" (nothing without one).
    void configureViews();
    // The signs around the "=": "+" at its upper left, "*" at its right, "÷" below it.
    void positionOperators();
    void drawOperatorSelectionState();
    void drawInputState();
    // The row of the chosen sign and the operand's view, centred on the "=", above it (below it for a
    // division) and kept on the screen.
    void updateInputExprView();

    void updateInputWithExpr(const ExprPtr& expr, bool readable) override;
    void clearExprInput() override;
    // Applies the operation with the typed operand to both sides and closes; with nothing typed it only
    // closes, and with a text that does not read as an expression the equation shakes as it closes.
    void finishInput() override;
    void cancelInput() override;

private:
    PlaygroundEuclideanFountain(PlaygroundView& playgroundView, std::shared_ptr<ExprEquation> equation,
                                const std::shared_ptr<PlaygroundMain>& mainPlayground);

    std::shared_ptr<ExprView> mainExprView() const;
    // The shown sign under the point, if any.
    std::shared_ptr<GenericLabel> signAt(core::Point point) const;
    void showConcreteViews();

    int m_state = kChoosingOperation;
    std::shared_ptr<ExprEquation> m_equation;
    std::weak_ptr<PlaygroundMain> m_mainPlayground;
    std::shared_ptr<OpViewEquals> m_equalsView;
    std::shared_ptr<GenericLabel> m_plusView;
    std::shared_ptr<GenericLabel> m_timesView;
    std::shared_ptr<GenericLabel> m_divideView;
    std::vector<std::shared_ptr<GenericLabel>> m_operatorViews;
    std::shared_ptr<GenericLabel> m_chosenOpView;
    int m_chosenArithType = ArithmeticTypeAdd;
    ExprPtr m_currentExpr;
    bool m_currentReadable = false;
    std::shared_ptr<ExprView> m_inputExprView;
    std::weak_ptr<ExprInputViewController> m_keyboard;
};

} // namespace zm
