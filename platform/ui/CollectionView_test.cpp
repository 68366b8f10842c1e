#include "platform/ui/CollectionView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

// A cell with a name label (tag 5), counting how often it is prepared for reuse.
class NameCell : public CollectionViewCell {
public:
    static std::shared_ptr<NameCell> make() { return std::shared_ptr<NameCell>(new NameCell); }
    void prepareForReuse() override {
        CollectionViewCell::prepareForReuse();
        ++reuses;
    }
    Label& name() const { return *m_name; }
    int reuses = 0;

private:
    NameCell()
        : CollectionViewCell({}) {
        m_name->setTag(5);
        addSubview(m_name);
    }
    std::shared_ptr<Label> m_name = Label::create();
};

// Topics on a carousel: the data source and delegate of the collection views below.
class Topics : public CollectionViewDataSource, public CollectionViewDelegate {
public:
    int numberOfItems(CollectionView&, int) override { return int(names.size()); }
    std::shared_ptr<CollectionViewCell> cellForItem(CollectionView& view, const IndexPath& path) override {
        auto cell = std::static_pointer_cast<NameCell>(view.dequeueReusableCell("LabelCell", path));
        cell->name().setText(names[size_t(path.item)]);
        return cell;
    }
    void didSelectItem(CollectionView&, const IndexPath& path) override { log("select", path); }
    void didHighlightItem(CollectionView&, const IndexPath& path) override { log("highlight", path); }
    void didUnhighlightItem(CollectionView&, const IndexPath& path) override { log("unhighlight", path); }
    std::optional<core::Size> sizeForItem(CollectionView& view, const IndexPath&) override {
        if (fullPages)
            return view.bounds().size;
        return std::nullopt;
    }

    void log(const std::string& what, const IndexPath& path) {
        calls.push_back(what + " " + std::to_string(path.item));
    }

    std::vector<std::string> names{"Commutation", "Like terms",   "Order",     "Factors", "Elimination",
                                   "Equations",   "Distribution", "Exponents", "Custom"};
    std::vector<std::string> calls;
    bool fullPages = false;
};

// A carousel 480 x 250: cards 200 x 150, 20 apart, 140 in from either end, so that the first card is
// centred at the start.
class Carousel : public testing::AnimationFixture {
protected:
    void SetUp() override {
        view->setFlowLayout({.scrollDirection = ScrollDirection::Horizontal,
                             .itemSize = {200, 150},
                             .minimumLineSpacing = 20,
                             .sectionInset = {0, 140, 0, 140}});
        view->registerCell("LabelCell", [this] {
            ++made;
            return NameCell::make();
        });
        view->setDataSource(topics);
        view->setDelegate(topics);
        window->addSubview(view);
        window->layoutIfNeeded();
    }

    std::vector<std::string> shownNames() {
        std::vector<std::string> names;
        for (const IndexPath& path : view->indexPathsForVisibleItems()) {
            auto cell = std::static_pointer_cast<NameCell>(view->cellForItem(path));
            names.push_back(cell ? cell->name().text() : "(none)");
        }
        return names;
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<CollectionView> view = CollectionView::create({0, 0, 480, 250});
    std::shared_ptr<Topics> topics = std::make_shared<Topics>();
    testing::TouchScript fingers{*window};
    int made = 0;
};

TEST_F(Carousel, OnlyTheCardsInSightHaveCellsAndCellsAreReused) {
    EXPECT_EQ(view->contentSize(), (core::Size{140 + 9 * 200 + 8 * 20 + 140, 250}));
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Commutation", "Like terms"}));
    EXPECT_EQ(view->cellForItem({0, 0})->frame(), (core::Rect{140, 50, 200, 150}));
    EXPECT_EQ(view->cellForItem({0, 5}), nullptr);

    view->scrollToItem({0, 4}, CollectionView::ScrollPosition::CenteredHorizontally, false);
    EXPECT_EQ(view->contentOffset(), (core::Point{140 + 4 * 220 + 100 - 240, 0}));
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Factors", "Elimination", "Equations"}));
    // The cards that left were handed out again for the ones that came.
    EXPECT_EQ(made, 3);
    int reuses = 0;
    for (const auto& cell : view->visibleCells())
        reuses += std::static_pointer_cast<NameCell>(cell)->reuses;
    EXPECT_EQ(reuses, 2);

    // Centring stops at the ends of the content.
    view->scrollToItem({0, 8}, CollectionView::ScrollPosition::CenteredHorizontally, false);
    EXPECT_EQ(view->contentOffset(), view->maximumContentOffset());
    EXPECT_EQ(shownNames().back(), "Custom");
}

TEST_F(Carousel, ATapHighlightsAndSelectsTheCardUnderTheFinger) {
    fingers.tap({240, 125});
    EXPECT_EQ(topics->calls, (std::vector<std::string>{"highlight 0", "unhighlight 0", "select 0"}));
    EXPECT_TRUE(view->cellForItem({0, 0})->isSelected());
    EXPECT_EQ(view->indexPathForSelectedItem(), (IndexPath{0, 0}));

    // A finger held still shows the highlight; scrolling away takes it without a selection.
    topics->calls.clear();
    fingers.down({400, 125});
    EXPECT_TRUE(topics->calls.empty());
    advance(ScrollView::kContentTouchDelay + 0.01);
    EXPECT_EQ(topics->calls, (std::vector<std::string>{"highlight 1"}));
    EXPECT_TRUE(view->cellForItem({0, 1})->isHighlighted());
    fingers.move({380, 125});
    fingers.move({300, 125});
    fingers.up({300, 125});
    EXPECT_EQ(topics->calls, (std::vector<std::string>{"highlight 1", "unhighlight 1"}));
    EXPECT_FALSE(view->cellForItem({0, 1})->isHighlighted());

    // A tap between the cards selects nothing.
    topics->calls.clear();
    view->setContentOffset({0, 0});
    fingers.tap({30, 125});
    EXPECT_TRUE(topics->calls.empty());
}

TEST_F(Carousel, AFullPagePagerShowsOneSlideAtATime) {
    topics->fullPages = true;
    FlowLayout pages;
    pages.scrollDirection = ScrollDirection::Horizontal;
    pages.minimumLineSpacing = 0;
    view->setFlowLayout(pages);
    view->setPagingEnabled(true);
    view->reloadData();
    window->layoutIfNeeded();
    EXPECT_EQ(view->contentSize(), (core::Size{9 * 480, 250}));
    EXPECT_EQ(view->indexPathsForVisibleItems(), (std::vector<IndexPath>{{0, 0}}));
    fingers.drag({400, 125}, {100, 125}, 10);
    advance(1);
    EXPECT_EQ(view->contentOffset(), (core::Point{480, 0}));
    EXPECT_EQ(view->indexPathsForVisibleItems(), (std::vector<IndexPath>{{0, 1}}));
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Like terms"}));
}

TEST_F(Carousel, ReloadingReadsTheDataSourceAgain) {
    fingers.tap({240, 125});
    topics->names = {"Only"};
    view->reloadData();
    window->layoutIfNeeded();
    EXPECT_EQ(view->numberOfItems(0), 1);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Only"}));
    EXPECT_FALSE(view->indexPathForSelectedItem());
    EXPECT_FALSE(view->cellForItem({0, 0})->isSelected());

    // An identifier that nothing makes cells for hands out nothing, and nothing breaks.
    EXPECT_EQ(view->dequeueReusableCell("NoSuchCell", {0, 0}), nullptr);
    topics->names.clear();
    view->reloadData();
    window->layoutIfNeeded();
    EXPECT_TRUE(view->visibleCells().empty());
    EXPECT_FALSE(view->frameForItem({0, 0}));
}

} // namespace
} // namespace ui
