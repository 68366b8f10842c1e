#include "shell/home/HomeViewController.h"

#include "model/Expr.h"
#include "platform/core/DispatchQueue.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundView.h"
#include "shell/app/AppDelegate.h"
#include "shell/container/ContainerViewController.h"
#include "shell/controls/FlatPillButton.h"
#include "shell/screens/ScreenFactory.h"
#include "shell/topics/TopicStatsDataController.h"

#include <algorithm>

namespace zm {

namespace {

constexpr double kHighlightDuration = 0.1;
constexpr float kHighlightScale = 1.05f;
// From scrolling to the next topic to opening it.
constexpr double kNextTopicDelay = 0.5;

} // namespace

std::shared_ptr<HomeViewController> HomeViewController::spawnFromStoryboard() {
    return zm::spawnFromStoryboard<HomeViewController>("HomeStoryboard");
}

std::shared_ptr<HomeViewController> HomeViewController::create() {
    return std::shared_ptr<HomeViewController>(new HomeViewController);
}

HomeViewController::HomeViewController() = default;

std::shared_ptr<HomeViewController> HomeViewController::self() {
    return std::static_pointer_cast<HomeViewController>(shared_from_this());
}

void HomeViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("collectionView", m_collectionView);
    outlets.weak("bottomRightView", m_bottomRightView);
    outlets.strong("infoButton", m_infoButton);
    HomeScreen::connectOutlets(outlets);
}

std::function<void()> HomeViewController::actionNamed(std::string_view name) {
    if (name == "hitInfo:")
        return [this] { hitInfo(); };
    return HomeScreen::actionNamed(name);
}

void HomeViewController::viewDidLoad() {
    HomeScreen::viewDidLoad();
    m_topics = &TopicStatsDataController::sharedInstance().topics();
    if (m_infoButton)
        m_infoButton->setThin(true);
}

const std::vector<Topic>& HomeViewController::topics() const {
    static const std::vector<Topic> none;
    return m_topics ? *m_topics : none;
}

std::optional<int> HomeViewController::rowOf(const Topic& topic) const {
    const std::vector<Topic>& all = topics();
    const auto found = std::find_if(all.begin(), all.end(),
                                    [&](const Topic& each) { return each.topicID() == topic.topicID(); });
    if (found == all.end())
        return std::nullopt;
    return int(found - all.begin());
}

void HomeViewController::viewDidLayoutSubviews() {
    HomeScreen::viewDidLayoutSubviews();
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    const std::shared_ptr<ContainerViewController> container = containerVC();
    if (carousel) {
        // The carousel's layout for its present size, before anything is placed by it.
        carousel->layoutIfNeeded();
        if (m_startingTopic) {
            const std::vector<Topic>& all = topics();
            for (size_t row = 0; row < all.size(); ++row) {
                if (all[row].topicID() == m_startingTopic->topicID())
                    carousel->scrollToItem({0, int(row)},
                                           ui::CollectionView::ScrollPosition::CenteredHorizontally, false);
            }
        } else if (container) {
            carousel->setContentOffset({carousel->contentSize().width * float(container->perc()), 0});
        }
    }
    if (container)
        container->pushBubbles();
}

float HomeViewController::calculatePerc() const {
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    if (!carousel)
        return 0;
    return carousel->contentOffset().x / carousel->contentSize().width;
}

void HomeViewController::updateBackgroundColor() {
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    const std::shared_ptr<ContainerViewController> container = containerVC();
    if (!carousel || !container)
        return;
    // Not a number for an empty carousel; past 1 only beyond its right end.
    const float fraction = calculatePerc();
    if (fraction <= 1 && carousel->contentSize().width > carousel->bounds().width())
        container->setColorPerc(fraction);
}

core::Rect HomeViewController::playgroundRectForTopic(const Topic& topic) {
    const std::optional<int> row = rowOf(topic);
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    if (!row || !carousel)
        return core::Rect::null();
    const ui::View* home = view().get();
    if (const std::shared_ptr<ui::CollectionViewCell> cell = carousel->cellForItem({0, *row})) {
        if (const ui::View* playground = cell->viewWithTag(kPlaygroundTag))
            return playground->convertRectToView(playground->bounds(), home);
    }
    // A card out of sight: where the layout puts it.
    const std::optional<core::Rect> card = carousel->frameForItem({0, *row});
    return card ? carousel->convertRectToView(*card, home) : core::Rect::null();
}

void HomeViewController::scrollToTopic(const Topic& topic) {
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    const std::optional<int> row = rowOf(topic);
    if (carousel && row)
        carousel->scrollToItem({0, *row}, ui::CollectionView::ScrollPosition::CenteredHorizontally, true);
}

void HomeViewController::animateToNextTopic() {
    if (!m_currentTopic)
        return;
    const std::vector<Topic>& all = topics();
    std::optional<size_t> current;
    for (size_t row = 0; row < all.size(); ++row) {
        if (all[row].topicID() == m_currentTopic->topicID())
            current = row;
    }
    if (!current || *current + 1 >= all.size())
        return;
    const Topic next = all[*current + 1];
    scrollToTopic(next);
    // The player may leave in the meantime: the screen is held weakly, and the container opens the
    // topic only while this screen is current and at rest.
    const std::weak_ptr<HomeViewController> weakSelf = self();
    core::DispatchQueue::main()->after(core::fromSeconds(kNextTopicDelay), [weakSelf, next] {
        if (const std::shared_ptr<HomeViewController> home = weakSelf.lock()) {
            if (const std::shared_ptr<ContainerViewController> container = home->containerVC())
                container->goToTopic(next);
        }
    });
}

int HomeViewController::numberOfItems(ui::CollectionView&, int) {
    return int(topics().size());
}

std::shared_ptr<ui::CollectionViewCell> HomeViewController::cellForItem(ui::CollectionView& collectionView,
                                                                        const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::CollectionViewCell> cell =
        collectionView.dequeueReusableCell(kCellIdentifier, indexPath);
    const std::vector<Topic>& all = topics();
    if (!cell || indexPath.item < 0 || size_t(indexPath.item) >= all.size())
        return cell;
    const Topic& topic = all[size_t(indexPath.item)];
    if (auto* name = dynamic_cast<ui::Label*>(cell->viewWithTag(kNameTag)))
        name->setText(topic.name());
    // The card shows the label expression, untouchable, at display size; every time a card is handed
    // out, reused or not.
    if (auto* playground = dynamic_cast<PlaygroundView*>(cell->viewWithTag(kPlaygroundTag))) {
        const std::shared_ptr<Expr> label = topic.labelExpr();
        playground->setNewProblem(label ? label->copy() : nullptr);
        playground->activateDisplayOnlyMode();
    }
    return cell;
}

void HomeViewController::didSelectItem(ui::CollectionView&, const ui::IndexPath& indexPath) {
    const std::vector<Topic>& all = topics();
    if (indexPath.item < 0 || size_t(indexPath.item) >= all.size())
        return;
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->goToTopic(all[size_t(indexPath.item)]);
}

void HomeViewController::didHighlightItem(ui::CollectionView& collectionView,
                                          const ui::IndexPath& indexPath) {
    if (const std::shared_ptr<ui::CollectionViewCell> cell = collectionView.cellForItem(indexPath)) {
        ui::animate({.duration = kHighlightDuration}, [&] {
            cell->setTransform(core::AffineTransform::makeScale(kHighlightScale, kHighlightScale));
        });
    }
}

void HomeViewController::didUnhighlightItem(ui::CollectionView& collectionView,
                                            const ui::IndexPath& indexPath) {
    if (const std::shared_ptr<ui::CollectionViewCell> cell = collectionView.cellForItem(indexPath))
        ui::animate({.duration = kHighlightDuration}, [&] { cell->setTransform({}); });
}

void HomeViewController::scrollViewDidScroll(ui::ScrollView&) {
    updateBackgroundColor();
}

void HomeViewController::hitInfo() {
    if (AppDelegate* application = AppDelegate::shared())
        application->loadProblems();
    std::shared_ptr<TopicViewController> info =
        zm::spawnFromStoryboard<TopicViewController>("InfoStoryboard");
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->zoomIntoTopicVC(std::move(info));
}

std::vector<ui::IndexPath> HomeViewController::visibleSortedPaths() const {
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    if (!carousel)
        return {};
    std::vector<ui::IndexPath> paths = carousel->indexPathsForVisibleItems();
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::optional<ui::IndexPath> HomeViewController::middleIndexPath() const {
    const std::vector<ui::IndexPath> paths = visibleSortedPaths();
    if (paths.size() == 3)
        return paths[1];
    // Two cards in sight: the carousel is at one of its ends.
    if (paths.size() == 2)
        return paths[0].item == 0 ? paths[0] : paths[1];
    return std::nullopt;
}

PlaygroundView* HomeViewController::playgroundOnCard(int row) const {
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    const std::shared_ptr<ui::CollectionViewCell> cell = carousel ? carousel->cellForItem({0, row}) : nullptr;
    return cell ? dynamic_cast<PlaygroundView*>(cell->viewWithTag(kPlaygroundTag)) : nullptr;
}

PlaygroundView* HomeViewController::middlePlaygroundView() const {
    const std::optional<ui::IndexPath> middle = middleIndexPath();
    return middle ? playgroundOnCard(middle->item) : nullptr;
}

PlaygroundView* HomeViewController::playgroundViewForTopic(const Topic& topic) const {
    const std::optional<int> row = rowOf(topic);
    return row ? playgroundOnCard(*row) : nullptr;
}

void HomeViewController::scrollToMiddleTopic() {
    const std::optional<ui::IndexPath> middle = middleIndexPath();
    const std::shared_ptr<ui::CollectionView> carousel = collectionView();
    if (middle && carousel)
        carousel->scrollToItem(*middle, ui::CollectionView::ScrollPosition::CenteredHorizontally, true);
}

void HomeViewController::hideUI() {
    if (const std::shared_ptr<ui::View> corner = m_bottomRightView.lock())
        corner->setTransform(core::AffineTransform::makeTranslation(0, 50));
}

} // namespace zm
