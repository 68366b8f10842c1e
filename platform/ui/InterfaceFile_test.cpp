#include "platform/core/Json.h"
#include "platform/ui/Button.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/Window.h"

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

std::vector<std::string> awoken;

class AwakeLabel : public Label {
public:
    static std::shared_ptr<AwakeLabel> make() { return std::shared_ptr<AwakeLabel>(new AwakeLabel); }
    void awakeFromNib() override { awoken.push_back("label " + text()); }

private:
    AwakeLabel()
        : Label({}) {}
};

// A cell prototype's class: outlets to its own parts, and an action that the cell itself answers.
class FixtureCell : public CollectionViewCell {
public:
    static std::shared_ptr<FixtureCell> make() { return std::shared_ptr<FixtureCell>(new FixtureCell); }

    void connectOutlets(Outlets& outlets) override {
        outlets.weak("bigLabel", bigLabel);
        outlets.strong("deleteButton", deleteButton);
        CollectionViewCell::connectOutlets(outlets);
    }
    std::function<void()> actionNamed(std::string_view name) override {
        if (name == "hitDelete:")
            return [this] { ++deletes; };
        return CollectionViewCell::actionNamed(name);
    }
    void awakeFromNib() override {
        ++awakenings;
        if (const std::shared_ptr<Label> label = bigLabel.lock())
            label->setText("Welcome");
    }

    std::weak_ptr<Label> bigLabel;
    std::shared_ptr<Button> deleteButton;
    int deletes = 0;
    int awakenings = 0;

private:
    FixtureCell()
        : CollectionViewCell({}) {}
};

class FixtureScreen : public ViewController, public CollectionViewDataSource, public CollectionViewDelegate {
public:
    static std::shared_ptr<FixtureScreen> make() { return std::shared_ptr<FixtureScreen>(new FixtureScreen); }

    void connectOutlets(Outlets& outlets) override {
        outlets.strong("undoButton", undoButton);
        outlets.weak("titleLabel", titleLabel);
        outlets.strong("panel", panel);
        outlets.weak("loose", loose);
        outlets.weak("collectionView", collectionView);
        ViewController::connectOutlets(outlets);
    }
    int numberOfItems(CollectionView&, int) override { return 3; }
    std::shared_ptr<CollectionViewCell> cellForItem(CollectionView& view, const IndexPath& path) override {
        return view.dequeueReusableCell("LabelCell", path);
    }
    void didSelectItem(CollectionView&, const IndexPath& path) override { selected.push_back(path.item); }
    std::function<void()> actionNamed(std::string_view name) override {
        if (name == "hitUndo:")
            return [this] { ++undos; };
        return ViewController::actionNamed(name);
    }
    void awakeFromNib() override { awoken.push_back("screen"); }

    std::shared_ptr<Button> undoButton;
    std::weak_ptr<Label> titleLabel;
    std::shared_ptr<Label> panel;
    std::weak_ptr<Label> loose;
    std::weak_ptr<CollectionView> collectionView;
    std::vector<int> selected;
    int undos = 0;
};

class InterfaceFiles : public ::testing::Test {
protected:
    void SetUp() override {
        awoken.clear();
        registry.registerClass<AwakeLabel, Label>("AwakeLabel", "Label", [] { return AwakeLabel::make(); });
        registry.registerClass<FixtureScreen, ViewController>("FixtureScreen", "ViewController",
                                                              [] { return FixtureScreen::make(); });
        registry.registerClass<FixtureCell, CollectionViewCell>("FixtureCell", "CollectionViewCell",
                                                                [] { return FixtureCell::make(); });
    }

    InterfaceLoader loader(Idiom idiom) {
        return InterfaceLoader({std::filesystem::path(ZEMBRIX_TEST_DATA_DIR) / "interface", idiom, nullptr},
                               registry);
    }

    std::shared_ptr<FixtureScreen> loadFixture(Idiom idiom) {
        InterfaceLoader files = loader(idiom);
        core::Result<std::shared_ptr<ViewController>> made =
            files.instantiateInitialViewController("Fixture");
        EXPECT_TRUE(made.ok()) << (made ? "" : made.error().text());
        auto screen = std::dynamic_pointer_cast<FixtureScreen>(made ? *made : nullptr);
        if (screen) {
            EXPECT_TRUE(files.loadInto(screen->nibName(), *screen).ok());
        }
        return screen;
    }

    core::Status loadText(std::string_view json) {
        auto owner = FixtureScreen::make();
        return loader(Idiom::Phone).loadDocumentInto(core::parseJson(json).value(), *owner);
    }

    ClassRegistry registry;
};

TEST_F(InterfaceFiles, AStoryboardMakesItsScreenWithOutletsAndActions) {
    auto screen = loadFixture(Idiom::Phone);
    ASSERT_TRUE(screen);
    ASSERT_TRUE(screen->isViewLoaded());
    EXPECT_EQ(screen->view()->frame(), core::Rect(0, 0, 480, 320));
    ASSERT_TRUE(screen->undoButton);
    EXPECT_EQ(screen->undoButton->superview(), screen->view().get());
    EXPECT_EQ(screen->undoButton->currentTitle(), "Undo");
    EXPECT_EQ(screen->undoButton->titleColor(ControlState::Normal),
              core::Color::rgb255(255, 0, 0, 128.0f / 255));
    EXPECT_EQ(screen->undoButton->title(ControlState::Disabled), "No");
    const std::shared_ptr<Label> title = screen->titleLabel.lock();
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), "Phone");
    EXPECT_EQ(title->tag(), 5);
    EXPECT_EQ(screen->view()->viewWithTag(5), title.get());
    // A panel outside the tree lives through its strong outlet; an object only a weak outlet names does not.
    ASSERT_TRUE(screen->panel);
    EXPECT_EQ(screen->panel->superview(), nullptr);
    EXPECT_TRUE(screen->panel->isHidden());
    EXPECT_TRUE(screen->loose.expired());
    // Every object wakes once connected, in the order made; the screen first, when it was made.
    EXPECT_EQ(awoken, (std::vector<std::string>{"screen", "label Phone", "label ", "label "}));

    auto window = Window::create({0, 0, 480, 320});
    window->setRootViewController(screen);
    testing::TouchScript fingers(*window);
    fingers.tap({320, 30});
    EXPECT_EQ(screen->undos, 1);
}

TEST_F(InterfaceFiles, TheTabletTakesItsOwnFileWhereThereIsOne) {
    auto screen = loadFixture(Idiom::Tablet);
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->view()->frame(), core::Rect(0, 0, 1024, 768));
    EXPECT_EQ(screen->titleLabel.lock()->text(), "Tablet");
    EXPECT_EQ(loader(Idiom::Tablet).pathFor("PhoneOnly").filename(), "PhoneOnly.json");
    EXPECT_EQ(loader(Idiom::Tablet).pathFor("Fixture~ipad").filename(), "Fixture~ipad.json");
    EXPECT_EQ(loader(Idiom::Phone).pathFor("Fixture").filename(), "Fixture.json");
}

// Cells come from the prototype of their reuse identifier, each made anew, connected and awoken, for
// both idioms' files.
TEST_F(InterfaceFiles, CellPrototypesMakeEachCellAnew) {
    for (const auto& [idiom, screenSize, cellSize] :
         {std::tuple{Idiom::Phone, core::Size{480, 320}, 150.0f},
          std::tuple{Idiom::Tablet, core::Size{1024, 768}, 300.0f}}) {
        auto screen = loadFixture(idiom);
        ASSERT_TRUE(screen);
        auto window = Window::create({{0, 0}, screenSize});
        window->setRootViewController(screen);
        window->layoutIfNeeded();
        const std::shared_ptr<CollectionView> carousel = screen->collectionView.lock();
        ASSERT_TRUE(carousel);
        EXPECT_EQ(carousel->flowLayout().itemSize, (core::Size{cellSize, cellSize}));
        const std::vector<std::shared_ptr<CollectionViewCell>> cells = carousel->visibleCells();
        ASSERT_EQ(cells.size(), 3u);
        std::set<Button*> buttons;
        for (const std::shared_ptr<CollectionViewCell>& made : cells) {
            auto cell = std::dynamic_pointer_cast<FixtureCell>(made);
            ASSERT_TRUE(cell);
            EXPECT_EQ(cell->reuseIdentifier(), "LabelCell");
            EXPECT_EQ(cell->awakenings, 1);
            ASSERT_TRUE(cell->bigLabel.lock());
            EXPECT_EQ(cell->bigLabel.lock()->superview(), cell.get());
            EXPECT_EQ(cell->bigLabel.lock()->text(), "Welcome");
            ASSERT_TRUE(cell->deleteButton);
            buttons.insert(cell->deleteButton.get());
        }
        EXPECT_EQ(buttons.size(), 3u);

        // The second cell's delete button reaches that cell; its body selects it through the screen.
        auto second = std::static_pointer_cast<FixtureCell>(carousel->cellForItem({0, 1}));
        testing::TouchScript fingers(*window);
        const core::Rect button =
            second->deleteButton->convertRectToView(second->deleteButton->bounds(), nullptr);
        fingers.tap({button.midX(), button.midY()});
        EXPECT_EQ(second->deletes, 1);
        EXPECT_EQ(std::static_pointer_cast<FixtureCell>(carousel->cellForItem({0, 0}))->deletes, 0);
        fingers.tap({button.midX(), button.minY() - 20});
        EXPECT_EQ(screen->selected, (std::vector<int>{1}));
    }
}

TEST_F(InterfaceFiles, AScreenMadeInCodeLoadsItsNibWhenItsViewIsAskedFor) {
    const std::filesystem::path testFiles = std::filesystem::path(ZEMBRIX_TEST_DATA_DIR) / "interface";
    {
        const InterfaceLoader::SharedOverride files({testFiles, Idiom::Phone, nullptr});
        auto screen = FixtureScreen::make();
        screen->setNibName("PhoneOnly");
        auto* label = dynamic_cast<Label*>(screen->view().get());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "everywhere");
        // A missing file leaves a plain view, and says why in the log.
        auto missing = FixtureScreen::make();
        missing->setNibName("NoSuchFile");
        EXPECT_TRUE(missing->view());
    }
    // The override ends with its scope: the program's own files are back.
    EXPECT_NE(InterfaceLoader::shared().settings().directory, testFiles);
}

TEST_F(InterfaceFiles, FaultsOfAFileSayWhereTheyAre) {
    const struct {
        const char* json;
        InterfaceErrorCode code;
        const char* where;
    } cases[] = {
        {R"({"view": {"class": "NoSuchView"}})", kInterfaceErrorUnknownClass, "view"},
        {R"({"view": {"properties": {"colour": "red"}}})", kInterfaceErrorUnknownProperty,
         "view.properties.colour"},
        {R"({"view": {"properties": {"backgroundColor": "reddish"}}})", kInterfaceErrorBadValue,
         "view.properties.backgroundColor"},
        {R"({"view": {"frame": [1, 2, 3]}})", kInterfaceErrorBadValue, "view.frame"},
        {R"({"view": {"subviews": [{"class": "Label", "properties": {"numberOfLines": "two"}}]}})",
         kInterfaceErrorBadValue, "view.subviews[0].properties.numberOfLines"},
        {R"({"view": {}, "outlets": {"undoButton": "nobody"}})", kInterfaceErrorBadConnection,
         "outlets.undoButton"},
        {R"({"view": {}, "outlets": {"noSuchOutlet": "owner"}})", kInterfaceErrorBadConnection,
         "outlets.noSuchOutlet"},
        {R"({"view": {"class": "Label", "id": "l"}, "outlets": {"undoButton": "l"}})",
         kInterfaceErrorBadConnection, "outlets.undoButton"},
        {R"({"view": {"class": "Button", "actions": [{"event": "touchUpInside", "action": "hitNothing:"}]}})",
         kInterfaceErrorBadConnection, "view.actions[0].action"},
        {R"({"view": {"class": "Button", "actions": [{"event": "wiggle", "action": "hitUndo:"}]}})",
         kInterfaceErrorBadConnection, "view.actions[0]"},
        {R"({"view": {"class": "Label", "actions": [{"action": "hitUndo:"}]}})", kInterfaceErrorBadConnection,
         "view.actions[0]"},
        {R"({"view": {"id": "a", "subviews": [{"id": "a"}]}})", kInterfaceErrorBadValue,
         "view.subviews[0].id"},
        {R"({"view": {"frame": [0, 0, 1, 1], "size": 3}})", kInterfaceErrorBadValue, "view.size"},
        {R"({"objects": []})", kInterfaceErrorBadValue, "view"},
    };
    for (const auto& test : cases) {
        const core::Status loaded = loadText(test.json);
        ASSERT_FALSE(loaded.ok()) << test.json;
        EXPECT_EQ(loaded.error().domain, kInterfaceErrorDomain) << test.json;
        EXPECT_EQ(loaded.error().code, test.code) << test.json << ": " << loaded.error().description;
        EXPECT_TRUE(loaded.error().description.starts_with(std::string(test.where) + ":"))
            << test.json << ": " << loaded.error().description;
    }
}

TEST_F(InterfaceFiles, AFailedLoadKeepsTheOwnersView) {
    auto owner = FixtureScreen::make();
    const std::shared_ptr<View> before = owner->view();
    const core::Status loaded =
        loader(Idiom::Phone)
            .loadDocumentInto(core::parseJson(R"({"view": {}, "outlets": {"undoButton": "nobody"}})").value(),
                              *owner);
    EXPECT_FALSE(loaded.ok());
    EXPECT_EQ(owner->view(), before);
}

} // namespace
} // namespace ui
