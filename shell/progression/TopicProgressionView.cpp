#include "shell/progression/TopicProgressionView.h"

#include "platform/core/Localization.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "playground/views/GenericView.h"
#include "shell/progression/CircleDrawerView.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <algorithm>

namespace zm {

namespace {

constexpr float kSelectedAlpha = 1;
constexpr float kDimmedAlpha = 0.25f;
// A label is as wide as its text and this much more, up to the widest.
constexpr float kLabelPadding = 2;
constexpr float kMaximumLabelWidth = 70;

float widthOf(const ui::View* view) {
    return view ? view->frame().width() : 0;
}

void setWidth(ui::View* view, float width) {
    if (view)
        view->setBounds({0, 0, width, view->bounds().height()});
}

} // namespace

std::shared_ptr<TopicProgressionView> TopicProgressionView::create(const core::Rect& frame) {
    return std::shared_ptr<TopicProgressionView>(new TopicProgressionView(frame));
}

TopicProgressionView::TopicProgressionView(const core::Rect& frame)
    : View(frame) {}

void TopicProgressionView::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("noviceLabel", m_noviceLabel);
    outlets.weak("masterLabel", m_masterLabel);
    outlets.weak("noviceCirclesView", m_noviceCirclesView);
    outlets.weak("masterCirclesView", m_masterCirclesView);
    outlets.weak("problemsButton", m_problemsButton);
    View::connectOutlets(outlets);
}

void TopicProgressionView::awakeFromNib() {
    View::awakeFromNib();
    if (const std::shared_ptr<ui::Label> label = noviceLabel())
        label->setText(core::localized("Novice"));
    if (const std::shared_ptr<ui::Label> label = masterLabel())
        label->setText(core::localized("Master"));
}

void TopicProgressionView::setTopicID(std::string topicID) {
    m_topicID = std::move(topicID);
    updateViews();
}

void TopicProgressionView::setInProgress(bool inProgress) {
    m_inProgress = inProgress;
    for (const std::shared_ptr<CircleDrawerView>& row : {noviceCirclesView(), masterCirclesView()}) {
        if (row) {
            row->setProblemInProgress(inProgress);
            row->setNeedsDisplay();
        }
    }
}

void TopicProgressionView::updateViews() {
    TopicStatsDataController& store = TopicStatsDataController::sharedInstance();
    const std::string difficulty = store.difficultyForTopic(m_topicID);
    if (difficulty == AlgebraDifficultyNovice)
        highlightNovice();
    else if (difficulty == AlgebraDifficultyMaster)
        highlightMaster();

    const auto show = [&](const std::shared_ptr<CircleDrawerView>& row, std::string_view rowDifficulty) {
        if (!row)
            return;
        const uint32_t needed = TopicStatsDataController::numProblemsForTopic(m_topicID, rowDifficulty);
        row->setTotalCircles(needed);
        row->setCompletedCircles(std::min(store.totalCompletedForTopic(m_topicID, rowDifficulty), needed));
    };
    show(noviceCirclesView(), AlgebraDifficultyNovice);
    show(masterCirclesView(), AlgebraDifficultyMaster);

    // Laid out again in the screen's next layout pass as well; there is nothing to fit without one.
    if (const ui::View* screen = superview())
        organizeBottom(screen->bounds().width());
}

void TopicProgressionView::highlightNovice() {
    highlight(AlgebraDifficultyNovice, novice(), master());
}

void TopicProgressionView::highlightMaster() {
    highlight(AlgebraDifficultyMaster, master(), novice());
}

void TopicProgressionView::highlight(std::string_view difficulty, const Side& selected, const Side& dimmed) {
    for (const auto& [side, alpha] :
         {std::pair{&selected, kSelectedAlpha}, std::pair{&dimmed, kDimmedAlpha}}) {
        if (side->label)
            side->label->setAlpha(alpha);
        if (side->circles) {
            side->circles->setAlpha(alpha);
            side->circles->setNeedsDisplay();
        }
    }
    TopicStatsDataController& store = TopicStatsDataController::sharedInstance();
    if (store.difficultyForTopic(m_topicID) == difficulty)
        return;
    store.selectDifficulty(difficulty, m_topicID);
    if (const std::shared_ptr<TopicProgressionDelegate> listener = delegate())
        listener->difficultyChanged();
}

void TopicProgressionView::organizeBottom(float width) {
    const bool tablet = ui::Device::current().isTablet();
    // Between a row and what follows it, and between a word and its row.
    const float rowGap = tablet ? 20 : 5;
    const float labelGap = tablet ? 5 : 0;

    const Side sides[] = {novice(), master()};
    for (const Side& side : sides) {
        if (side.circles)
            setWidth(side.circles.get(), side.circles->requestedWidth());
        if (side.label) {
            const float text = gfx::measureText(side.label->text(), side.label->font()).width;
            setWidth(side.label.get(), std::min(text + kLabelPadding, kMaximumLabelWidth));
        }
    }
    const core::Rect frame = this->frame();
    setFrame({frame.minX(), frame.minY(), width, frame.height()});

    const std::shared_ptr<ui::Button> button = problemsButton();
    float total = widthOf(button.get()) + 2 * rowGap + 2 * labelGap;
    for (const Side& side : sides)
        total += widthOf(side.label.get()) + widthOf(side.circles.get());

    // Left to right along the middle; the dots stand a point lower than the words and the button.
    float x = (width - total) / 2;
    const float y = bounds().height() / 2;
    const auto place = [&](ui::View* view, float dy, float gapAfter) {
        if (view)
            moveViewTo(*view, {x, y + dy}, AnchorMiddleLeft);
        x += widthOf(view) + gapAfter;
    };
    for (const Side& side : sides) {
        place(side.label.get(), 0, labelGap);
        place(side.circles.get(), 1, rowGap);
    }
    place(button.get(), 0, 0);
}

core::Rect TopicProgressionView::band(const Side& side) const {
    if (!side.label || !side.circles)
        return core::Rect::null();
    const float left = side.label->frame().minX();
    return {left, 0, side.circles->frame().maxX() - left, bounds().height()};
}

void TopicProgressionView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    if (touches.empty())
        return;
    const core::Point point = touches.front()->locationInView(this);
    if (band(novice()).contains(point))
        highlightNovice();
    else if (band(master()).contains(point))
        highlightMaster();
}

} // namespace zm
