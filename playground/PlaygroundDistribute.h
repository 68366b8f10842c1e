#pragma once

#include "playground/Playground.h"

#include <memory>
#include <vector>

namespace zm {

class DistributionDrawingView;
class ExprView;
class ExprViewSum;
class OpSlider;
class PlaygroundMain;
class StepDistribute;

// The modal playground that shows the distributive law a(b + c) = ab + ac as a motion the user drives.
// One copy of the factor sits on the factor for every term of the sum, an arrow curves from the factor
// to every term (the first above, the next below, and so on), and a slider stands under the
// expression. Dragging the slider lifts the copies off the factor and carries each, followed by a
// times sign, along its arrow; at the slider's far end the distribution is applied to the main
// playground, the new products starting where the copies are. A touch anywhere off the slider cancels.
//
// Copy i, times sign i and arrow i belong together. The automatic player drives the slider through
// its value and `sliderChanged`, in the direction `dirRight` tells.
//
// Made by the main playground for a tapped "*" next to a sum; owned by the host view while shown. It
// holds the main playground weakly and does nothing once it or the host is gone. Main thread only.
class PlaygroundDistribute : public Playground {
public:
    // Null without a step or a host view.
    static std::shared_ptr<PlaygroundDistribute> create(std::shared_ptr<StepDistribute> step,
                                                        PlaygroundMain& mainPlayground);

    const std::shared_ptr<StepDistribute>& stepDist() const { return m_stepDist; }
    std::shared_ptr<PlaygroundMain> mainPlayground() const { return m_mainPlayground.lock(); }
    const std::shared_ptr<OpSlider>& slider() const { return m_slider; }
    const std::shared_ptr<DistributionDrawingView>& drawing() const { return m_drawing; }
    // The copies of the factor and their times signs, in the order of the arrows.
    const std::vector<std::shared_ptr<ExprView>>& distributors() const { return m_distributors; }
    const GenericViewList& ops() const { return m_ops; }
    // A second view of the sum, in parentheses, laid over the sum in the main expression.
    const std::shared_ptr<ExprViewSum>& acceptor() const { return m_acceptor; }
    // The main expression's times sign between the factor and the sum, or null when it has none.
    const std::shared_ptr<IGenericView>& timesView() const { return m_timesView; }
    // Where a times sign rests beside its copy: x from the factor's centre to the real sign's, y two
    // spacing units down (the sign sits low in a product).
    core::Point timesSignOffset() const { return m_timesSignOffset; }
    // Whether the factor stands left of the sum: the slider then runs from 0 to 1, else from 1 to 0.
    bool dirRight() const { return m_dirRight; }
    bool showingSlider() const { return m_showingSlider; }
    // Set once the step is applied or the playground cancelled: later slider changes do nothing.
    bool clearing() const { return m_clearing; }

    // Builds the views and shows them with the slider.
    void drawInitialState() override;
    // Off the slider it cancels: nothing is applied and the playground closes.
    void touchBegan(core::Point point) override;
    bool touchMoved(core::Point) override { return true; }
    bool touchEnded(core::Point) override { return true; }
    // The arrows, the copies, their times signs, the sum over the veil, and the slider.
    ViewList getConcreteViews() override;
    // The arrows draw themselves (animated, over 1.5 s); half a second in, the copies come to the front.
    void moveToFinalStateAnimated(bool animated) override;

    // Builds every view at its starting place and sets the slider to its start (see the source).
    void configureViews();
    // The arrow from the factor's view to a target term's view: over both, or under both.
    void makePathFrom(const ExprView& factor, const ExprView& target, bool isAbove);
    // The slider's value changed: the copies follow it, and at the far end the step is applied.
    void sliderChanged();

private:
    PlaygroundDistribute(PlaygroundView& playgroundView, std::shared_ptr<StepDistribute> step,
                         std::weak_ptr<PlaygroundMain> mainPlayground);

    // Whether this playground is the one its host shows.
    bool isShown() const;
    void commit();
    void cancel();
    // Copies and times signs where slider value `value` puts them.
    void moveCopies(float value);

    std::shared_ptr<StepDistribute> m_stepDist;
    std::weak_ptr<PlaygroundMain> m_mainPlayground;
    std::shared_ptr<OpSlider> m_slider;
    std::shared_ptr<DistributionDrawingView> m_drawing;
    std::vector<std::shared_ptr<ExprView>> m_distributors;
    GenericViewList m_ops;
    std::shared_ptr<ExprViewSum> m_acceptor;
    std::shared_ptr<IGenericView> m_timesView;
    core::Point m_timesSignOffset;
    bool m_dirRight = true;
    bool m_showingSlider = false;
    bool m_clearing = false;
};

} // namespace zm
