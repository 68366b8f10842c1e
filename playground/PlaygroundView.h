#pragma once

#include "platform/core/Color.h"
#include "platform/ui/View.h"
#include "playground/PlaygroundDelegate.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class GestureRecognizer;
class PanGestureRecognizer;
class PinchGestureRecognizer;
} // namespace ui

namespace zm {

class AIExecutor;
class Baggage;
class DrawingView;
class Expr;
class ExprInputDelegate;
class ExprInputViewController;
class ExprView;
class IGenericView;
class Playground;
class PlaygroundContainerInputDelegate;
class PlaygroundMain;
class Step;

// The platform view that hosts the playgrounds of one problem: the main playground with the expression
// and at most one modal playground over a translucent veil, with the drawing overlay on top of them
// all. It routes every touch to the modal playground when one is shown and to the main playground
// otherwise, scrolls a wide expression with a one-finger pan, zooms it with a pinch and resets both with
// a double tap, and tells its delegate what happens (forwarding the main playground's reports).
//
// A finger's touch belongs to the playground it landed on until it lifts or is cancelled: when that
// playground stops taking touches meanwhile (a modal playground closes on the touch, a modal playground
// opens over the main one, a new problem replaces it), the rest of the touch goes to nobody, neither as
// a tap, a drag, a scroll nor a zoom. The next finger goes to whichever playground is on top then.
//
// It lends the expression views their look: fonts, colours, the font size of the main expression and
// the spacing unit that goes with it.
//
// Screens own their playground view; it owns its playgrounds, the overlay, the veil and the automatic
// player driving it. The long-division playground view derives from it. Main thread only.
class PlaygroundView : public ui::View, public PlaygroundDelegate {
public:
    static std::shared_ptr<PlaygroundView> create(const core::Rect& frame);
    ~PlaygroundView() override;

    // Playgrounds.
    const std::shared_ptr<PlaygroundMain>& mainPlayground() const { return m_mainPlayground; }
    virtual void setMainPlayground(std::shared_ptr<PlaygroundMain> playground);
    const std::shared_ptr<Playground>& modalPlayground() const { return m_modalPlayground; }
    void setModalPlayground(std::shared_ptr<Playground> playground);
    bool modalVisible() const { return m_modalPlayground != nullptr; }
    // The overlay lines are drawn on; null for a view that draws none.
    const std::shared_ptr<DrawingView>& drawingView() const { return m_drawingView; }
    const std::shared_ptr<ui::View>& veil() const { return m_veil; }

    // Starts a problem: a new main playground for `expr` (the very object, which the playground then
    // changes with every move), drawn and settled; a modal playground that was open is closed. With no
    // expression the view is left empty and the old main playground stays, cleared.
    void setNewProblem(const std::shared_ptr<Expr>& expr);
    // Takes everything off the view but the drawing overlay.
    virtual void clear();
    // Draws the playgrounds again from their starting states, settled at once.
    virtual void redraw();
    // Makes the subviews exactly the views the playgrounds want shown, with the veil between the main
    // and the modal playground's views and the overlay on top.
    void refreshConcreteViews();
    // Puts views on the view, below the overlay.
    void showView(const std::shared_ptr<ui::View>& view);
    void showExprView(const ExprView* view);
    void showGenericView(const IGenericView& view);
    void bringToFront(ui::View& view);

    // The point the main expression is centred on. Its x is kept so that a tenth of the expression
    // stays inside the view.
    core::Point pivotPoint() const { return m_pivotPoint; }
    virtual void resetPivotPoint();
    void setPivotPoint(core::Point point);
    // Sets the pivot, refits the main expression and moves both playgrounds there.
    virtual void setPivotPoint(core::Point point, bool animated);
    virtual void repositionViewsAnimated(bool animated);
    void repositionMainPlaygroundAnimated(bool animated);
    bool pivotAtCenter() const;
    // The size of the main expression changed: a wider expression than the view can be panned.
    void setContentSize(core::Size size);
    float getWidth() const { return frame().width(); }
    // The height a screen gives the playground: 232 on a phone; the superview's height less 44 on a
    // tablet.
    float getIdealHeight() const;

    // Touches: the platform's, the routed single points, and those of the automatic player (a move
    // without a previous point starts a drawn line at its own point). The single points go to the
    // playground on top.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;
    using PlaygroundDelegate::touchBegan;
    void touchBegan(core::Point point);
    void touchMoved(core::Point point);
    void touchMoved(core::Point point, core::Point previous);
    void touchEnded(core::Point point);
    // Back to the unzoomed, unpanned expression, fitted again.
    void doubleTapped();
    void disableTouchInput() { setUserInteractionEnabled(false); }
    void enableTouchInput() { setUserInteractionEnabled(true); }

    // Modal playgrounds and the veil behind them.
    void showModalPlayground(const std::shared_ptr<Playground>& playground);
    virtual void popModalPlayground();
    void showVeil();
    void clearVeil();

    // Opens the expression keyboard for `delegate`: a new keyboard screen, handed to the container
    // input delegate to show. Answers the screen, which the container keeps while it shows it.
    std::shared_ptr<ExprInputViewController>
    beginInputWithInputDelegate(std::weak_ptr<ExprInputDelegate> delegate);
    // A modal playground commits its step through the main playground.
    void executeStepOneBelow(const std::shared_ptr<Step>& step, Baggage& bag);
    // For demonstration cards: no touches, the large demonstration font, settled at once.
    void activateDisplayOnlyMode();
    // Whether a term of the main playground is being dragged.
    bool activeAgent() const;

    // The delegates, not owned.
    void setPlayDelegate(std::weak_ptr<PlaygroundDelegate> delegate) { m_playDelegate = std::move(delegate); }
    std::shared_ptr<PlaygroundDelegate> playDelegate() const { return m_playDelegate.lock(); }
    void setContainerInputDelegate(std::weak_ptr<PlaygroundContainerInputDelegate> delegate);
    std::shared_ptr<PlaygroundContainerInputDelegate> containerInputDelegate() const;
    // The automatic player driving this view, owned.
    const std::shared_ptr<AIExecutor>& executor() const { return m_executor; }
    void setExecutor(std::shared_ptr<AIExecutor> executor);

    // The main playground's reports, passed on to the delegate when it takes them.
    bool respondsTo(PlaygroundMessage message) const override;
    void willExecuteStep(const std::shared_ptr<Step>& step, const std::shared_ptr<Expr>& expr) override;
    void executedStep(const std::shared_ptr<Step>& step) override;
    void didErrorStep() override;
    void didExponentCombineStep() override;
    void showComplete() override;
    void animationComplete() override;

    // Look.
    const core::Color& expressionColor() const { return m_expressionColor; }
    void setExpressionColor(const core::Color& color) { m_expressionColor = color; }
    const core::Color& veilColor() const { return m_veilColor; }
    void setVeilColor(const core::Color& color) { m_veilColor = color; }
    const core::Color& highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const core::Color& color) { m_highlightColor = color; }
    // The fonts of numbers and operators, and of variable names; an empty name stands for the default
    // ("Georgia", "Georgia-Italic").
    const std::string& numberFontName() const { return m_numberFontName; }
    void setNumberFontName(std::string name);
    const std::string& varFontName() const { return m_varFontName; }
    void setVarFontName(std::string name);
    // The font size of the main expression; setting it also measures the spacing unit, half the width
    // of a space in the number font.
    float baseFontSize() const { return m_baseFontSize; }
    void setBaseFontSize(float size);
    float space() const { return m_space; }
    void setSpace(float space) { m_space = space; }
    // The rectangle the main expression is fitted into.
    const core::Rect& spacingRect() const { return m_spacingRect; }
    void setSpacingRect(const core::Rect& rect) { m_spacingRect = rect; }
    // Set by a pinch beyond scale 1: steps do not refit the expression while it is set.
    bool zoomedIn() const { return m_zoomedIn; }
    void setZoomedIn(bool zoomedIn) { m_zoomedIn = zoomedIn; }
    // The media time of the last touch up no playground took; 0 after a double tap.
    double lastTouchUp() const { return m_lastTouchUp; }
    ui::PanGestureRecognizer& panner() const { return *m_panner; }
    ui::PinchGestureRecognizer& pincher() const { return *m_pincher; }

protected:
    explicit PlaygroundView(const core::Rect& frame);
    // Finishes a new view of any class once it is shared: its factory calls this.
    static void setUp(const std::shared_ptr<PlaygroundView>& view);

    void layoutSubviews() override;
    // The zoom of the expression while fingers pinch.
    virtual void pinch(ui::PinchGestureRecognizer& recognizer);
    // A view that draws no lines has no overlay: every use of it is then skipped.
    void dropDrawingView();

private:
    // A platform finger on the view and the playground that was on top when it landed.
    struct Finger {
        std::weak_ptr<ui::Touch> touch;
        std::weak_ptr<Playground> playground;
    };

    // The playground touches go to now: the modal one when shown, else the main one (or none).
    std::shared_ptr<Playground> topPlayground() const;
    // Whether a finger landed on a playground that takes no touches any more: the rest of its touch is
    // nobody's. A touch the view did not see land is not.
    bool isStray(const Finger& finger) const;
    bool isStray(const ui::Touch& touch) const;
    // The end of fingers' touches, lifted or cancelled.
    void liftFingers(const ui::TouchSet& touches);
    void pan(ui::PanGestureRecognizer& recognizer);
    // Decides when a scroll or zoom begins whether it is the main playground's, and answers whether
    // the gesture, at any state, is one to follow. One that is not leaves the fingers where they are
    // (a modal playground keeps its drag) and is ignored until it ends.
    bool gestureIsMain(ui::GestureRecognizer& recognizer, bool& ignored);
    void setPanEnabled(bool enabled);
    // The overlay on top of everything, when there is one.
    void showDrawingView();
    // Sends a message to the delegate when it takes it.
    template <class Send> void tell(PlaygroundMessage message, Send send) const;

    std::shared_ptr<PlaygroundMain> m_mainPlayground;
    std::shared_ptr<Playground> m_modalPlayground;
    std::shared_ptr<DrawingView> m_drawingView;
    std::shared_ptr<ui::View> m_veil;
    core::Point m_pivotPoint;
    std::weak_ptr<PlaygroundDelegate> m_playDelegate;
    std::weak_ptr<PlaygroundContainerInputDelegate> m_containerInputDelegate;
    std::shared_ptr<AIExecutor> m_executor;
    std::shared_ptr<ui::PanGestureRecognizer> m_panner;
    std::shared_ptr<ui::PinchGestureRecognizer> m_pincher;
    double m_lastTouchUp = 0;
    std::vector<Finger> m_fingers;
    // The pan, resp. the pinch, under way is not the main playground's.
    bool m_panIgnored = false;
    bool m_pinchIgnored = false;
    std::atomic<bool> m_zoomedIn = false;
    core::Color m_expressionColor = core::Color::rgb255(226, 234, 238);
    core::Color m_veilColor = core::Color::white(1, 0.25f);
    core::Color m_highlightColor = core::Color::rgb255(25, 161, 230);
    std::string m_numberFontName;
    std::string m_varFontName;
    float m_baseFontSize = 0;
    std::atomic<float> m_space = 0;
    core::Rect m_spacingRect;
};

} // namespace zm
