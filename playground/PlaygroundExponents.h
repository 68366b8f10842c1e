#pragma once

#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "playground/Playground.h"

#include <atomic>
#include <memory>
#include <vector>

namespace ui {
class View;
}

namespace zm {

class BorderView;
class ExprView;
class ExprViewSoloist;
class ExprViewSquishProduct;
class OpTimes;
class PlaygroundMain;

// The modal playground that writes powers out as products and lets the player squeeze like factors
// back into powers. It opens for a product of two like terms (x² · x³, 2³ · 2) and for a single power
// (x⁴). The terms first gather where they stood and then spread into a row of single factors
// (x · x · x · x · x) between two walls. Dragging sideways pushes the row against a wall, and a factor
// pushed into the end factor merges with it (x² · x becomes x³). A tap on the platform between the
// walls, or a row that can merge no further, ends it: the terms taken from the main expression are
// replaced there by the row as it stands (a product of powers, or one power).
//
// The host view owns it while it is shown. The automatic player reads `ogPivot` and the two exponent
// numbers, from its own queue, and plays touches through the host view. Main thread otherwise.
class PlaygroundExponents : public Playground {
public:
    // The row holds this many factors at most: more would not fit between the walls, and a typed
    // power as large as x^100000 must not build that many views.
    static constexpr int kMaximumFactors = 20;

    // Whether a tapped "*" opens this playground: both operands are terms with the same base, each a
    // variable with coefficient 1 or a number, each with an exponent of at least 1, the written-out
    // row fits, and it is not the plain product of two numbers (2 · 2 is simply 4).
    static bool doesOpTimesQualify(const OpTimes& times);
    // Whether a single term can be written out here: a variable with coefficient 1, or a number, to a
    // power from 2 to the largest row.
    static bool doesSoloQualify(const ExprSoloist& solo);

    // The playground for the two operands of `times`, or for the one term `solo`, over the main
    // playground; null when they do not qualify or the host view is gone.
    static std::shared_ptr<PlaygroundExponents> create(const std::shared_ptr<OpTimes>& times,
                                                       PlaygroundMain& mainPlayground);
    static std::shared_ptr<PlaygroundExponents> create(const std::shared_ptr<ExprSoloist>& solo,
                                                       PlaygroundMain& mainPlayground);

    // Gathering: the main expression's terms move to where the row will be. Row: the row is shown.
    enum class DisplayState { Gathering, Row };

    void drawInitialState() override;
    // A finger down on the platform may be a tap that commits.
    void touchBegan(core::Point point) override;
    // Pushes the row sideways (by one and a half times the finger's move), merging what the push
    // squeezes together. Ignored while the row is not shown yet or is being committed.
    bool touchMoved(core::Point point) override;
    // A tap on the platform commits; any other release lets a squeezed row spring back.
    bool touchEnded(core::Point point) override;
    // Takes the row off the screen; the modal is over.
    void clear() override;
    // The two stages of the opening, half a second each: the terms gather, then the row spreads.
    void moveToFinalStateAnimated(bool animated) override;

    // The commit: the row settles at the main expression's size against the wall it leans to, then
    // replaces the terms it was made from in the main expression, and the modal closes.
    void fallDown();

    // The terms taken from the main expression, in order.
    const std::vector<std::shared_ptr<ExprSoloist>>& originalExprs() const { return m_originalExprs; }
    // The row as it stands (null once every factor merged into `finalSolo`), and its view.
    const std::shared_ptr<ExprProduct>& product() const { return m_product; }
    const std::shared_ptr<ExprViewSquishProduct>& squishView() const { return m_squishView; }
    // The one power every factor merged into, and its view; null until then.
    const std::shared_ptr<ExprSoloist>& finalSolo() const { return m_finalSolo; }
    const std::shared_ptr<ExprViewSoloist>& finalSoloView() const { return m_finalSoloView; }
    // The area between the walls; the tap area, never shown itself.
    const std::shared_ptr<BorderView>& platform() const { return m_platform; }
    // The bars from the walls outwards to the edges of the screen.
    const std::shared_ptr<ui::View>& leftArm() const { return m_leftArm; }
    const std::shared_ptr<ui::View>& rightArm() const { return m_rightArm; }
    // Where the row is centred: above the tapped "*", or on the single term.
    core::Point ogPivot() const { return m_ogPivot; }
    DisplayState displayState() const { return m_displayState; }
    bool falling() const { return m_falling; }
    bool tapping() const { return m_tapping; }
    // The exponent of the first and of the last factor of the row; both are the merged power's once
    // everything merged. Safe to read from the automatic player's queue.
    int leftExponentNumber() const { return m_leftExponentNumber; }
    int rightExponentNumber() const { return m_rightExponentNumber; }

    // The platform's height: 100 points on a phone, 300 on a tablet.
    static float coverHeight();
    // The colour of the platform and the arms: the host's highlight colour.
    core::Color platformColor() const;

private:
    PlaygroundExponents(PlaygroundView& playgroundView, PlaygroundMain& mainPlayground);

    // The playground for `exprs` (one term, or two joined by `times`), written out as one row of
    // single factors, beside the main expression's views of them.
    static std::shared_ptr<PlaygroundExponents> create(std::vector<std::shared_ptr<ExprSoloist>> exprs,
                                                       const std::shared_ptr<OpTimes>& times,
                                                       PlaygroundMain& mainPlayground);
    void initWithExprs(std::vector<std::shared_ptr<ExprSoloist>> exprs,
                       const std::shared_ptr<OpTimes>& times);
    // Moves everything to its place for the present state.
    void moveToPivot();
    void gatherAtPivot();
    void spreadAtPivot();
    // The platform around the row, the walls at its edges and the arms outside them.
    void positionCoverViews();
    // The row is now `product`, grown out of the old row through `bag`.
    void showMergedRow(const std::shared_ptr<ExprProduct>& product, Baggage& bag);
    // Every factor merged into `solo`.
    void showFinalSolo(const std::shared_ptr<ExprSoloist>& solo);
    // The step that writes the row into the main expression, with the record of where it stands.
    void commit();
    void noteExponents();
    std::weak_ptr<PlaygroundExponents> weakSelf();

    // The main playground, which owns the expression; it outlives this modal while the host shows it.
    std::weak_ptr<PlaygroundMain> m_mainPlayground;
    std::vector<std::shared_ptr<ExprSoloist>> m_originalExprs;
    std::shared_ptr<ExprProduct> m_product;
    std::shared_ptr<ExprViewSquishProduct> m_squishView;
    std::shared_ptr<ExprSoloist> m_finalSolo;
    std::shared_ptr<ExprViewSoloist> m_finalSoloView;
    std::shared_ptr<BorderView> m_platform;
    std::shared_ptr<ui::View> m_leftArm;
    std::shared_ptr<ui::View> m_rightArm;
    // The main expression's views of the terms and of the sign between them, while they gather.
    std::shared_ptr<ExprView> m_leftFloaterView;
    std::shared_ptr<ExprView> m_rightFloaterView;
    std::shared_ptr<IGenericView> m_timesFloaterView;
    std::shared_ptr<ExprView> m_singleFloaterView;
    core::Point m_ogPivot;
    // The finger's last point during a drag; the origin when no drag runs.
    core::Point m_lastPoint;
    DisplayState m_displayState = DisplayState::Gathering;
    bool m_clearing = false;
    bool m_falling = false;
    bool m_tapping = false;
    std::atomic<int> m_leftExponentNumber = 0;
    std::atomic<int> m_rightExponentNumber = 0;
};

} // namespace zm
