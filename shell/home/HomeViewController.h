#pragma once

#include "platform/ui/CollectionView.h"
#include "shell/screens/HomeScreen.h"

#include <memory>
#include <optional>
#include <vector>

namespace zm {

class FlatPillButton;
class PlaygroundView;

// The home screen: a horizontal carousel with one card per topic, each showing the topic's name above
// a still playground with the topic's label expression. Tapping a card opens the topic; scrolling turns
// the hue of the container's background and slides its bubbles; the thin pill button in the corner
// opens the information screen. The container makes a new one each time the player comes home.
//
// Main thread only.
class HomeViewController : public HomeScreen,
                           public ui::CollectionViewDataSource,
                           public ui::CollectionViewDelegate {
public:
    static constexpr std::string_view kCellIdentifier = "LabelCell";
    static constexpr int kNameTag = 5;
    static constexpr int kPlaygroundTag = 6;

    // The screen of "HomeStoryboard" ("HomeStoryboard~ipad" on a tablet); null when it cannot be made.
    static std::shared_ptr<HomeViewController> spawnFromStoryboard();
    // The interface-file way of making one.
    static std::shared_ptr<HomeViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    void viewDidLoad() override;
    // Centres the starting topic's card, or else restores the carousel to the container's position,
    // and gives the bubbles a push.
    void viewDidLayoutSubviews() override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }

    // HomeScreen.
    void setStartingTopic(std::optional<Topic> topic) override { m_startingTopic = std::move(topic); }
    void setCurrentTopic(std::optional<Topic> topic) override { m_currentTopic = std::move(topic); }
    float calculatePerc() const override;
    core::Rect playgroundRectForTopic(const Topic& topic) override;
    // Scrolls to the topic after the current one and opens it half a second later.
    void animateToNextTopic() override;

    const std::optional<Topic>& startingTopic() const { return m_startingTopic; }
    const std::optional<Topic>& currentTopic() const { return m_currentTopic; }
    // The progress store's topics, in carousel order.
    const std::vector<Topic>& topics() const;
    std::shared_ptr<ui::CollectionView> collectionView() const { return m_collectionView.lock(); }
    // The corner that holds the info button.
    std::shared_ptr<ui::View> bottomRightView() const { return m_bottomRightView.lock(); }
    const std::shared_ptr<FlatPillButton>& infoButton() const { return m_infoButton; }

    // The carousel.
    int numberOfItems(ui::CollectionView& collectionView, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItem(ui::CollectionView& collectionView,
                                                        const ui::IndexPath& indexPath) override;
    void didSelectItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;
    // A pressed card grows to 105 % and shrinks back when let go, in 0.1 s.
    void didHighlightItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;
    void didUnhighlightItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;
    void scrollViewDidScroll(ui::ScrollView& scrollView) override;

    // Turns the background's hue by the carousel's position, while the position is a fraction of a
    // carousel wider than the screen.
    void updateBackgroundColor();
    // Brings the card of the topic with `topic`'s identifier to the middle, animated.
    void scrollToTopic(const Topic& topic);
    // The info button: opens the information screen, zooming in from the corner.
    void hitInfo();

    // The cards in sight, by row; the middle one of them (the left or right one at the ends); its
    // playground; the playground of a topic's card in sight.
    std::vector<ui::IndexPath> visibleSortedPaths() const;
    std::optional<ui::IndexPath> middleIndexPath() const;
    PlaygroundView* middlePlaygroundView() const;
    PlaygroundView* playgroundViewForTopic(const Topic& topic) const;
    // Scrolls to the middle card.
    void scrollToMiddleTopic();
    // Moves the corner with the info button out of sight, 50 points down.
    void hideUI();

protected:
    HomeViewController();

private:
    // The row of the first topic with `topic`'s identifier.
    std::optional<int> rowOf(const Topic& topic) const;
    // The playground of the card at `row`, while the card is in sight.
    PlaygroundView* playgroundOnCard(int row) const;
    std::shared_ptr<HomeViewController> self();

    std::weak_ptr<ui::CollectionView> m_collectionView;
    std::weak_ptr<ui::View> m_bottomRightView;
    std::shared_ptr<FlatPillButton> m_infoButton;
    std::optional<Topic> m_startingTopic;
    std::optional<Topic> m_currentTopic;
    const std::vector<Topic>* m_topics = nullptr; // the progress store's, which lives as long as the process
};

} // namespace zm
