#include "problemsets/playgrounds/ListPlaygroundViewController.h"

#include "platform/core/Format.h"
#include "platform/core/Localization.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "playground/PlaygroundView.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/ScreenFactory.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

// The margin between and after the bar's buttons, their top and their height.
constexpr ListPlaygroundViewController::TopRightBar kPhoneBar{0, 0, 25, 35};
constexpr ListPlaygroundViewController::TopRightBar kTabletBar{0, 0, 13, 75};
constexpr float kPhoneMargin = 16;
constexpr float kTabletMargin = 24;

float titleWidth(const ui::Button& button, std::string_view title) {
    return std::ceil(gfx::measureText(title, button.titleLabel().font()).width);
}

} // namespace

ListPlaygroundViewController::TopRightBar ListPlaygroundViewController::topRightBar(float undoWidth,
                                                                                    float restartWidth, bool tablet) {
    const float margin = tablet ? kTabletMargin : kPhoneMargin;
    TopRightBar bar = tablet ? kTabletBar : kPhoneBar;
    bar.width = 2 * margin + undoWidth + restartWidth;
    bar.restartX = undoWidth + margin;
    return bar;
}

std::shared_ptr<ListPlaygroundViewController> ListPlaygroundViewController::spawnFromXib() {
    return std::dynamic_pointer_cast<ListPlaygroundViewController>(zm::spawnFromXib(kInterfaceName, kInterfaceName));
}

std::shared_ptr<ListPlaygroundViewController> ListPlaygroundViewController::create() {
    return std::shared_ptr<ListPlaygroundViewController>(new ListPlaygroundViewController);
}

ListPlaygroundViewController::ListPlaygroundViewController() = default;

void ListPlaygroundViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.strong("bottomView", m_bottomView);
    outlets.strong("problemListNameButton", m_problemListNameButton);
    outlets.strong("leftButton", m_leftButton);
    outlets.strong("rightButton", m_rightButton);
    outlets.strong("problemIndexLabel", m_problemIndexLabel);
    PlaygroundViewController::connectOutlets(outlets);
}

std::function<void()> ListPlaygroundViewController::actionNamed(std::string_view name) {
    if (name == "hitLeft:")
        return [this] { hitLeft(); };
    if (name == "hitRight:")
        return [this] { hitRight(); };
    return PlaygroundViewController::actionNamed(name);
}

void ListPlaygroundViewController::viewDidLoad() {
    PlaygroundViewController::viewDidLoad();
    updateState();
}

void ListPlaygroundViewController::viewDidAppear(bool) {}

void ListPlaygroundViewController::finishViewDidLoad() {
    const std::shared_ptr<ui::View>& bar = topRightView();
    const std::shared_ptr<ui::Button> undo = undoButton();
    const std::shared_ptr<ui::Button> restart = restartButton();
    if (!bar || !undo || !restart)
        return;
    const std::string undoTitle = core::localized("Undo");
    const std::string restartTitle = core::localized("Restart");
    const float undoWidth = titleWidth(*undo, undoTitle);
    const float restartWidth = titleWidth(*restart, restartTitle);
    const TopRightBar layout = topRightBar(undoWidth, restartWidth, ui::Device::current().isTablet());
    bar->setFrame({view()->bounds().width() - layout.width, 0, layout.width, bar->frame().height()});
    undo->setFrame({0, layout.buttonY, undoWidth, layout.buttonHeight});
    restart->setFrame({layout.restartX, layout.buttonY, restartWidth, layout.buttonHeight});
    undo->setTitle(undoTitle);
    restart->setTitle(restartTitle);
    view()->bringSubviewToFront(*bar);
}

void ListPlaygroundViewController::setDocument(std::shared_ptr<ProblemListDocument> document) {
    m_document = std::move(document);
    if (!m_document)
        return;
    m_problemIndex = 0;
    if (m_problemListNameButton)
        m_problemListNameButton->setTitle(m_document->displayName());
    updateState();
}

void ListPlaygroundViewController::skipToProblemIndex(size_t index) {
    // A row of a list that is out of date may lie past the end: the last problem is the nearest.
    const size_t count = m_document ? m_document->totalProblems() : 0;
    m_problemIndex = count == 0 ? 0 : std::min(index, count - 1);
    updateState();
}

void ListPlaygroundViewController::updateState() {
    if (m_document) {
        if (m_bottomView && isViewLoaded())
            view()->addSubview(m_bottomView);
        if (m_problemListNameButton)
            m_problemListNameButton->setTitle(m_document->displayName());
    }
    const size_t count = m_document ? m_document->totalProblems() : 0;
    if (count > 0) {
        if (const ExprPtr problem = m_document->problemAtIndex(m_problemIndex))
            startProblem(problem->copyWithBag(nullptr));
        if (m_leftButton)
            m_leftButton->setEnabled(m_problemIndex > 0);
        if (m_rightButton)
            m_rightButton->setEnabled(m_problemIndex + 1 < count);
        if (m_problemIndexLabel)
            m_problemIndexLabel->setText(core::format("%zu/%zu", m_problemIndex + 1, count));
        return;
    }
    for (const std::shared_ptr<ui::Button>& arrow : {m_leftButton, m_rightButton}) {
        if (arrow)
            arrow->setEnabled(false);
    }
    if (playgroundView())
        playgroundView()->clear();
    if (m_problemIndexLabel)
        m_problemIndexLabel->setText("0/0");
}

void ListPlaygroundViewController::hitLeft() {
    if (m_problemIndex == 0)
        return;
    --m_problemIndex;
    updateState();
}

void ListPlaygroundViewController::hitRight() {
    const size_t count = m_document ? m_document->totalProblems() : 0;
    if (m_problemIndex + 1 >= count)
        return;
    ++m_problemIndex;
    updateState();
}

void ListPlaygroundViewController::hitHome() {
    const std::shared_ptr<ContainerViewController> container = containerVC();
    std::shared_ptr<ProblemListViewController> set = ProblemListViewController::spawnFromXib();
    if (!container || !set)
        return;
    set->setContainerVC(container);
    set->setDocument(m_document);
    container->zoomOutToTopicVC(std::move(set));
}

} // namespace zm
