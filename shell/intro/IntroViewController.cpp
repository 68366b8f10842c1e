#include "shell/intro/IntroViewController.h"

#include "platform/core/Localization.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Outlets.h"
#include "shell/container/ContainerViewController.h"
#include "shell/intro/CustomPageControlView.h"
#include "shell/intro/PlayIntroCollectionViewCell.h"
#include "shell/screens/ScreenFactory.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr std::string_view kSlideIdentifiers[IntroViewController::kSlideCount] = {
    "FirstIntroCell", "DemoSuccessCell", "DemoFailCell", "LastIntroCell"};

constexpr std::string_view kSkipTitle = "Skip Tutorial";
constexpr std::string_view kFinishTitle = "Finish Tutorial";

} // namespace

std::shared_ptr<IntroViewController> IntroViewController::spawnFromStoryboard() {
    return zm::spawnFromStoryboard<IntroViewController>("IntroStoryboard");
}

std::shared_ptr<IntroViewController> IntroViewController::create() {
    return std::shared_ptr<IntroViewController>(new IntroViewController);
}

IntroViewController::IntroViewController() = default;

void IntroViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("collectionView", m_collectionView);
    outlets.weak("nextButton", m_nextButton);
    outlets.strong("leftButton", m_leftButton);
    outlets.strong("skipButton", m_skipButton);
    outlets.strong("pageControl", m_pageControl);
    TopicViewController::connectOutlets(outlets);
}

std::function<void()> IntroViewController::actionNamed(std::string_view name) {
    if (name == "hitBack:")
        return [this] { hitBack(); };
    if (name == "hitNext:")
        return [this] { hitNext(); };
    if (name == "hitSkip:")
        return [this] { hitSkip(); };
    return TopicViewController::actionNamed(name);
}

void IntroViewController::viewDidLoad() {
    TopicViewController::viewDidLoad();
    if (m_skipButton)
        m_skipButton->setTitle(core::localized(kSkipTitle));
    if (m_leftButton)
        m_leftButton->setAlpha(0);
}

int IntroViewController::numberOfItems(ui::CollectionView&, int) {
    return kSlideCount;
}

std::shared_ptr<ui::CollectionViewCell> IntroViewController::cellForItem(ui::CollectionView& collectionView,
                                                                         const ui::IndexPath& indexPath) {
    const int row = indexPath.item;
    const std::string_view identifier =
        row > 0 && row < kSlideCount ? kSlideIdentifiers[row] : kSlideIdentifiers[0];
    std::shared_ptr<ui::CollectionViewCell> cell = collectionView.dequeueReusableCell(identifier, indexPath);
    if (auto* demonstration = dynamic_cast<PlayIntroCollectionViewCell*>(cell.get()))
        demonstration->animate();
    return cell;
}

std::optional<core::Size> IntroViewController::sizeForItem(ui::CollectionView&, const ui::IndexPath&) {
    return core::Size{view()->bounds().width(),
                      ui::Device::current().isTablet() ? kTabletSlideHeight : kPhoneSlideHeight};
}

unsigned IntroViewController::pageForOffset(float offset, float contentWidth, unsigned pages) {
    if (pages == 0 || !(contentWidth > 0))
        return 0;
    const double page = std::round(double(offset) / (double(contentWidth) / pages));
    // A bounce past either end still shows the end's slide.
    return unsigned(std::clamp(page, 0.0, double(pages - 1)));
}

void IntroViewController::scrollViewDidScroll(ui::ScrollView& scrollView) {
    if (!m_pageControl)
        return;
    const unsigned page = pageForOffset(scrollView.contentOffset().x, scrollView.contentSize().width,
                                        m_pageControl->totalPages());
    m_pageControl->setCurrentPage(page);
    if (m_skipButton)
        m_skipButton->setTitle(core::localized(page == kLastSlide ? kFinishTitle : kSkipTitle));
    if (m_leftButton)
        m_leftButton->setAlpha(page != 0 ? 1 : 0);
}

void IntroViewController::scrollViewDidEndDecelerating(ui::ScrollView& scrollView) {
    scrollViewDidScroll(scrollView);
}

void IntroViewController::scrollViewDidEndDragging(ui::ScrollView& scrollView, bool) {
    scrollViewDidEndDecelerating(scrollView);
}

std::optional<int> IntroViewController::singleVisibleSlide() const {
    const std::shared_ptr<ui::CollectionView> pager = collectionView();
    if (!pager)
        return std::nullopt;
    const std::vector<ui::IndexPath> visible = pager->indexPathsForVisibleItems();
    if (visible.size() != 1)
        return std::nullopt;
    return visible.front().item;
}

void IntroViewController::showSlide(int row) {
    if (const std::shared_ptr<ui::CollectionView> pager = collectionView())
        pager->scrollToItem({0, row}, ui::CollectionView::ScrollPosition::CenteredHorizontally, true);
}

void IntroViewController::hitBack() {
    const std::optional<int> row = singleVisibleSlide();
    if (row && *row > 0)
        showSlide(*row - 1);
}

void IntroViewController::hitNext() {
    const std::optional<int> row = singleVisibleSlide();
    if (!row)
        return;
    if (*row < kLastSlide)
        showSlide(*row + 1);
    else
        hitSkip();
}

void IntroViewController::hitSkip() {
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->fadeToHome();
}

} // namespace zm
