#pragma once

#include "platform/ui/CollectionView.h"
#include "shell/screens/TopicViewController.h"

#include <memory>

namespace ui {
class Button;
}

namespace zm {

class CustomPageControlView;

// The first-run tutorial, shown once over the home screen: a pager of four slides (a welcome, two
// live demonstrations of moves that work, two of moves the rules refuse, good wishes) with Back and
// Next buttons, page dots that follow the scroll, and a Skip button (Finish on the last slide) that
// fades over to a new home screen.
//
// Main thread only.
class IntroViewController : public TopicViewController,
                            public ui::CollectionViewDataSource,
                            public ui::CollectionViewDelegate {
public:
    static constexpr int kSlideCount = 4;
    static constexpr int kLastSlide = kSlideCount - 1;
    // The slides' height on a phone and on a tablet; they are as wide as the screen.
    static constexpr float kPhoneSlideHeight = 275;
    static constexpr float kTabletSlideHeight = 723;

    // The screen of "IntroStoryboard" ("IntroStoryboard~ipad" on a tablet); null when it cannot be made.
    static std::shared_ptr<IntroViewController> spawnFromStoryboard();
    // The interface-file way of making one.
    static std::shared_ptr<IntroViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    void viewDidLoad() override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }

    // The slides. The demonstration slides start afresh each time they are handed out.
    int numberOfItems(ui::CollectionView& collectionView, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItem(ui::CollectionView& collectionView,
                                                        const ui::IndexPath& indexPath) override;
    std::optional<core::Size> sizeForItem(ui::CollectionView& collectionView,
                                          const ui::IndexPath& indexPath) override;
    // The dots, the Skip button's title and the Back button follow the scroll position.
    void scrollViewDidScroll(ui::ScrollView& scrollView) override;
    void scrollViewDidEndDecelerating(ui::ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool willDecelerate) override;

    // The buttons. Back and Next act only while one slide is in sight; Next on the last slide finishes.
    void hitBack();
    void hitNext();
    void hitSkip();

    // The slide a pager scrolled to `offset` shows: the nearest one, halves rounded away from the first.
    static unsigned pageForOffset(float offset, float contentWidth, unsigned pages);

    std::shared_ptr<ui::CollectionView> collectionView() const { return m_collectionView.lock(); }
    std::shared_ptr<ui::Button> nextButton() const { return m_nextButton.lock(); }
    const std::shared_ptr<ui::Button>& leftButton() const { return m_leftButton; }
    const std::shared_ptr<ui::Button>& skipButton() const { return m_skipButton; }
    const std::shared_ptr<CustomPageControlView>& pageControl() const { return m_pageControl; }

protected:
    IntroViewController();

private:
    // The one slide in sight; none while the pager is between two.
    std::optional<int> singleVisibleSlide() const;
    void showSlide(int row);

    std::weak_ptr<ui::CollectionView> m_collectionView;
    std::weak_ptr<ui::Button> m_nextButton;
    std::shared_ptr<ui::Button> m_leftButton;
    std::shared_ptr<ui::Button> m_skipButton;
    std::shared_ptr<CustomPageControlView> m_pageControl;
};

} // namespace zm
