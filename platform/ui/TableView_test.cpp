#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

std::string name(const IndexPath& path) {
    return std::to_string(path.section) + "." + std::to_string(path.row());
}

// Settings-like sections of named rows; the data source and delegate of the tables below.
class Rows : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfSections(TableView&) override { return int(sections.size()); }
    int numberOfRows(TableView&, int section) override { return int(sections[size_t(section)].size()); }
    std::shared_ptr<TableViewCell> cellForRow(TableView& table, const IndexPath& path) override {
        std::shared_ptr<TableViewCell> cell = table.dequeueReusableCell("Row");
        if (!cell) {
            cell = TableViewCell::create(TableViewCell::Style::Value, "Row");
            ++made;
        }
        cell->textLabel().setText(sections[size_t(path.section)][size_t(path.row())]);
        cell->setAccessoryType(path.row() == 0 ? TableViewCell::Accessory::DetailDisclosureButton
                                               : TableViewCell::Accessory::None);
        return cell;
    }
    std::string titleForHeader(TableView&, int section) override { return section == 0 ? "General" : ""; }
    std::string titleForFooter(TableView&, int section) override {
        return section + 1 == int(sections.size()) ? footer : "";
    }

    std::optional<IndexPath> willSelectRow(TableView&, const IndexPath& path) override {
        if (unselectable == sections[size_t(path.section)][size_t(path.row())])
            return std::nullopt;
        return path;
    }
    void didSelectRow(TableView&, const IndexPath& path) override { calls.push_back("select " + name(path)); }
    void didDeselectRow(TableView&, const IndexPath& path) override {
        calls.push_back("deselect " + name(path));
    }
    void willDisplayCell(TableView&, TableViewCell&, const IndexPath& path) override {
        shown.push_back(name(path));
    }
    void accessoryButtonTapped(TableView&, const IndexPath& path) override {
        calls.push_back("accessory " + name(path));
    }

    std::vector<std::vector<std::string>> sections{{"Sound", "Music", "Hints"}, {"Name", "Colour"}};
    std::string footer = "Powered by nothing";
    std::string unselectable = "Music";
    std::vector<std::string> calls;
    std::vector<std::string> shown;
    int made = 0;
};

class Tables : public testing::AnimationFixture {
protected:
    void SetUp() override {
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
        window->layoutIfNeeded();
    }

    std::vector<std::string> texts() {
        std::vector<std::string> shown;
        for (const IndexPath& path : table->indexPathsForVisibleRows()) {
            const std::shared_ptr<TableViewCell> cell = table->cellForRow(path);
            shown.push_back(cell ? cell->textLabel().text() : "(none)");
        }
        return shown;
    }

    // The table's heading or footnote that reads `text`.
    const Label* titleReading(const std::string& text) {
        table->layoutIfNeeded();
        for (const std::shared_ptr<View>& view : table->subviews()) {
            if (const auto* label = dynamic_cast<const Label*>(view.get()); label && label->text() == text)
                return label;
        }
        return nullptr;
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 320, 480});
    std::shared_ptr<TableView> table = TableView::create({0, 0, 320, 400}, TableView::Style::Grouped);
    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
    testing::TouchScript fingers{*window};
};

TEST_F(Tables, GroupedSectionsStackUnderTheirTitles) {
    ASSERT_EQ(table->numberOfSections(), 2);
    const core::Rect first = *table->rectForRow({0, 0});
    EXPECT_GT(first.minY(), 18); // under the "General" title
    EXPECT_EQ(table->rectForRow({0, 1})->minY(), first.maxY());
    // The second section has no title: a gap; the footer closes the last section.
    const core::Rect second = *table->rectForRow({1, 0});
    EXPECT_GT(second.minY(), table->rectForRow({0, 2})->maxY());
    EXPECT_GT(table->contentSize().height, table->rectForRow({1, 1})->maxY());
    EXPECT_FALSE(table->rectForRow({1, 2}));
    EXPECT_EQ(texts(), (std::vector<std::string>{"Sound", "Music", "Hints", "Name", "Colour"}));
    EXPECT_EQ(rows->shown, (std::vector<std::string>{"0.0", "0.1", "0.2", "1.0", "1.1"}));
    EXPECT_EQ(table->cellForRow({0, 0})->frame().width(), 320);
}

TEST_F(Tables, OnlyRowsInSightHaveCellsAndCellsAreReused) {
    rows->sections = {std::vector<std::string>(30, "row")};
    for (int i = 0; i < 30; ++i)
        rows->sections[0][size_t(i)] = "row " + std::to_string(i);
    table->reloadData();
    window->layoutIfNeeded();
    const size_t inSight = table->visibleCells().size();
    EXPECT_LT(inSight, 12u);
    const int madeBefore = rows->made;
    table->scrollToRow({0, 29}, TableView::ScrollPosition::Bottom, false);
    EXPECT_EQ(texts().back(), "row 29");
    EXPECT_EQ(table->contentOffset().y, table->rectForRow({0, 29})->maxY() - 400);
    EXPECT_LE(rows->made - madeBefore, 1); // the cells that scrolled away were handed out again
    EXPECT_EQ(table->cellForRow({0, 0}), nullptr);
}

TEST_F(Tables, TapsSelectRowsTheDelegateAllows) {
    auto tap = [&](const IndexPath& path) {
        const core::Rect rect = table->convertRectToView(*table->rectForRow(path), nullptr);
        fingers.tap({rect.minX() + 100, rect.midY()});
    };
    tap({0, 2});
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    EXPECT_TRUE(table->cellForRow({0, 2})->isSelected());
    tap({0, 1}); // "Music" may not be selected
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    EXPECT_FALSE(table->cellForRow({0, 1})->isHighlighted());
    tap({1, 0});
    EXPECT_EQ(rows->calls, (std::vector<std::string>{"select 0.2", "deselect 0.2", "select 1.0"}));
    table->deselectRow({1, 0}, true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(table->cellForRow({1, 0})->isSelected());

    // A cell that takes no touches is passed over, as the delegate's refusal is.
    rows->calls.clear();
    table->cellForRow({1, 1})->setUserInteractionEnabled(false);
    tap({1, 1});
    EXPECT_FALSE(table->cellForRow({1, 1})->isHighlighted());
    EXPECT_TRUE(rows->calls.empty());

    // The detail button beside a row is a button of its own.
    const std::shared_ptr<TableViewCell> cell = table->cellForRow({0, 0});
    const core::Rect row = table->convertRectToView(*table->rectForRow({0, 0}), nullptr);
    fingers.tap({row.maxX() - 40, row.midY()});
    EXPECT_EQ(rows->calls, (std::vector<std::string>{"accessory 0.0"}));
}

TEST_F(Tables, DeletedRowsFadeWhileTheRowsBelowMoveUp) {
    const std::shared_ptr<TableViewCell> music = table->cellForRow({0, 1});
    const std::shared_ptr<TableViewCell> hints = table->cellForRow({0, 2});
    const float hintsTop = hints->frame().minY();
    rows->sections[0].erase(rows->sections[0].begin() + 1);
    table->deleteRows({{0, 1}}, RowAnimation::Fade);
    // The model is there at once; the screen gets there over the animation.
    EXPECT_EQ(table->cellForRow({0, 1}), hints);
    EXPECT_EQ(hints->frame().minY(), hintsTop - TableViewCell::kDefaultHeight);
    advance(0.15);
    EXPECT_GT(music->presentation().opacity, 0);
    EXPECT_LT(music->presentation().opacity, 1);
    EXPECT_GT(hints->presentationFrame().minY(), hints->frame().minY());
    advance(0.3);
    EXPECT_EQ(music->superview(), nullptr);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Sound", "Hints", "Name", "Colour"}));

    // An inserted row comes in over the animation.
    rows->sections[0].insert(rows->sections[0].begin(), "Volume");
    table->insertRows({{0, 0}}, RowAnimation::Top);
    const std::shared_ptr<TableViewCell> volume = table->cellForRow({0, 0});
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->textLabel().text(), "Volume");
    advance(0.15);
    EXPECT_LT(volume->presentation().opacity, 1);
    advance(0.3);
    EXPECT_FLOAT_EQ(volume->presentation().opacity, 1);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Volume", "Sound", "Hints", "Name", "Colour"}));
}

TEST_F(Tables, ABatchDeletesAndInsertsSectionsAndRowsTogether) {
    // Hiding the only row of a section: the row and its section go, and the section comes back empty.
    rows->sections = {{"Sound"}, {"Name", "Colour"}};
    table->reloadData();
    window->layoutIfNeeded();
    table->selectRow({1, 1}, false);
    rows->sections[0].clear();
    table->beginUpdates();
    table->deleteSections({0}, RowAnimation::Top);
    table->deleteRows({{0, 0}}, RowAnimation::Top);
    table->insertSections({0}, RowAnimation::Top);
    table->endUpdates();
    advance(0.5);
    EXPECT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRows(0), 0);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Name", "Colour"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{1, 1})); // the selection follows its row

    // An update that does not lead to the data source's counts is shown by a reload.
    rows->sections[1].push_back("Font");
    table->deleteRows({{1, 0}}, RowAnimation::Fade);
    advance(0.5);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Name", "Colour", "Font"}));
}

TEST_F(Tables, ReloadingARowAsksForItsCellAgain) {
    rows->sections[0][1] = "Songs";
    table->reloadRows({{0, 1}}, RowAnimation::Fade);
    EXPECT_EQ(table->cellForRow({0, 1})->textLabel().text(), "Songs");
    EXPECT_EQ(table->cellForRow({0, 0})->textLabel().text(), "Sound");
}

// A row's update leaves the headings and footnotes as they were (their pictures are not drawn again),
// but one whose text changed reads the new text.
TEST_F(Tables, ReloadingARowKeepsTheTitlesThatStayAndRenewsTheOthers) {
    const Label* heading = titleReading("General");
    ASSERT_NE(heading, nullptr);
    ASSERT_NE(titleReading("Powered by nothing"), nullptr);
    rows->sections[0][1] = "Songs";
    rows->footer = "Powered by something";
    table->reloadRows({{0, 1}});
    EXPECT_EQ(titleReading("General"), heading);
    EXPECT_EQ(titleReading("Powered by nothing"), nullptr);
    EXPECT_NE(titleReading("Powered by something"), nullptr);
}

class ChoiceList : public TableViewController {
public:
    static std::shared_ptr<ChoiceList> make() { return std::shared_ptr<ChoiceList>(new ChoiceList); }
    int numberOfRows(TableView&, int) override { return 2; }
    std::shared_ptr<TableViewCell> cellForRow(TableView&, const IndexPath& path) override {
        auto cell = TableViewCell::create();
        cell->textLabel().setText(path.row() == 0 ? "Red" : "Blue");
        return cell;
    }

private:
    ChoiceList()
        : TableViewController(TableView::Style::Grouped) {}
};

TEST(TableViewControllers, AreTheirTablesSourceAndDelegate) {
    auto screen = ChoiceList::make();
    auto window = Window::create({0, 0, 320, 480});
    window->setRootViewController(screen);
    window->layoutIfNeeded();
    TableView* table = screen->tableView();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->style(), TableView::Style::Grouped);
    EXPECT_EQ(table->frame(), window->bounds());
    EXPECT_EQ(table->cellForRow({0, 1})->textLabel().text(), "Blue");
}

TEST(TableViewControllers, TakeTheTableOfTheirInterfaceFile) {
    core::TemporaryFolder folder;
    ASSERT_TRUE(core::writeFileAtomically(folder.path() / "Choices.json", R"({"view": {"class": "TableView",
        "properties": {"style": "plain"}, "outlets": {"dataSource": "owner", "delegate": "owner"}}})"));
    const InterfaceLoader::SharedOverride files({folder.path(), Idiom::Phone, nullptr});
    auto window = Window::create({0, 0, 320, 480});
    auto fromFile = ChoiceList::make();
    fromFile->setNibName("Choices");
    window->setRootViewController(fromFile);
    window->layoutIfNeeded();
    ASSERT_NE(fromFile->tableView(), nullptr);
    EXPECT_EQ(fromFile->tableView()->style(), TableView::Style::Plain);
    EXPECT_EQ(fromFile->tableView()->cellForRow({0, 0})->textLabel().text(), "Red");

    // A file that cannot be read still leaves the screen its own table.
    auto missing = ChoiceList::make();
    missing->setNibName("NoSuchFile");
    ASSERT_NE(missing->tableView(), nullptr);
    EXPECT_EQ(missing->tableView()->style(), TableView::Style::Grouped);
}

} // namespace
} // namespace ui
