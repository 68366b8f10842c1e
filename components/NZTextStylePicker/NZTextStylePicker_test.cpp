#include "components/NZTextStylePicker/NZColourBlockView.h"
#include "components/NZTextStylePicker/NZColourSelectTableViewController.h"
#include "components/NZTextStylePicker/NZFontSelectTableViewController.h"
#include "components/NZTextStylePicker/NZFontStyleSelectTableViewController.h"
#include "components/NZTextStylePicker/NZTextStylePickerViewController.h"
#include "components/NZTextStylePicker/NZUpDownControl.h"
#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScreenTesting.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Switch.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

std::string describe(const gfx::Font& font) {
    return std::string(font.name()) + " " + std::to_string(int(font.pointSize()));
}

// Writes down every report of the picker and of the lists.
class Reports : public NZTextStylePickerViewControllerDelegate,
                public NZFontSelectTableViewControllerDelegate,
                public NZColourSelectTableViewControllerDelegate {
public:
    void userSelectedFont(NZTextStylePickerViewController&, const gfx::Font& font) override {
        log.push_back("font " + describe(font));
    }
    void userSelectedTextColor(NZTextStylePickerViewController&, const core::Color& colour) override {
        log.push_back("colour " + colour.description());
    }
    void replaceDefaultStyleWithFont(NZTextStylePickerViewController&, const std::optional<gfx::Font>& font,
                                     const std::optional<core::Color>& colour) override {
        log.push_back("default " + (font ? describe(*font) : "none") + ", " + (colour ? colour->description() : "none"));
    }
    void textStylePickerViewControllerIsDone(NZTextStylePickerViewController&) override { log.push_back("done"); }
    void textStylePickerViewControllerSelectedDefaultStyle(NZTextStylePickerViewController&) override {
        log.push_back("default style");
    }
    void textStylePickerViewControllerSelectedCustomStyle(NZTextStylePickerViewController&) override {
        log.push_back("custom style");
    }
    void fontSelectTableViewController(NZFontSelectTableViewController&, const gfx::Font& font) override {
        log.push_back("list font " + describe(font));
    }
    void colourSelectTableViewController(NZColourSelectTableViewController&, const core::Color& colour) override {
        log.push_back("list colour " + colour.description());
    }

    std::vector<std::string> log;
};

// A screen of the picker's kind in a navigation controller on a headless device.
class PickerTest : public ::testing::Test {
protected:
    explicit PickerTest(ui::Device device = {ui::Idiom::Phone, 1})
        : host(device) {}

    void show(std::shared_ptr<ui::ViewController> root) {
        navigation = ui::NavigationController::create(std::move(root));
        host.window().setRootViewController(navigation);
        host.advance(0.5);
    }
    void showPicker() {
        picker->setDelegate(reports);
        show(picker);
    }
    void tapView(const ui::View& view) {
        host::testing::tap(host, host::testing::middleInWindow(view));
        host.advance(0.6);
    }
    void tapStepper(bool upper) {
        const ui::View& stepper = *picker->fontSizeControl();
        const core::Rect frame = stepper.convertRectToView(stepper.bounds(), nullptr);
        host::testing::tap(host, {frame.minX() + 10, upper ? frame.minY() + 5 : frame.maxY() - 5});
    }
    // The cell of a list's row, scrolled into sight.
    ui::TableViewCell& rowAt(ui::TableViewController& list, int row) {
        list.tableView()->scrollToRow({0, row}, ui::TableView::ScrollPosition::Middle, false);
        host.window().layoutIfNeeded();
        return *list.tableView()->cellForRow({0, row});
    }
    template <class Screen> Screen* top() { return dynamic_cast<Screen*>(navigation->topViewController()); }
    // The row of a list whose label (or title) reads `text`.
    ui::TableViewCell* rowReading(ui::TableViewController& list, const std::string& text) {
        for (const std::shared_ptr<ui::TableViewCell>& cell : list.tableView()->visibleCells())
            if (host::testing::findText(*cell, text))
                return cell.get();
        return nullptr;
    }
    // The texts of the marks of a list's visible rows, in row order.
    std::vector<std::string> markedRows(ui::TableViewController& list, int markTag, int nameTag) {
        std::vector<std::string> marked;
        for (const ui::IndexPath& path : list.tableView()->indexPathsForVisibleRows()) {
            const std::shared_ptr<ui::TableViewCell> cell = list.tableView()->cellForRow(path);
            if (static_cast<ui::Label*>(cell->viewWithTag(markTag))->text().empty())
                continue;
            ui::View* name = nameTag ? cell->viewWithTag(nameTag) : nullptr;
            marked.push_back(name ? static_cast<ui::Label*>(name)->text() : std::to_string(path.row()));
        }
        return marked;
    }

    host::HeadlessHost host;
    std::shared_ptr<Reports> reports = std::make_shared<Reports>();
    std::shared_ptr<NZTextStylePickerViewController> picker = NZTextStylePickerViewController::textStylePickerViewController();
    std::shared_ptr<ui::NavigationController> navigation;
};

// The stepper.

TEST_F(PickerTest, TheStepperStartsAtTheFontsWholeSizeAndStepsIt) {
    picker->setSelectedFont(gfx::Font::named("Georgia", 12.7f));
    showPicker();
    EXPECT_EQ(picker->title(), "Text Style");
    EXPECT_EQ(picker->fontSizeControl()->value(), 12);
    EXPECT_EQ(picker->fontNameLabel()->text(), "Georgia");
    tapStepper(true);
    EXPECT_EQ(reports->log, (std::vector<std::string>{"font Georgia 13"}));
    EXPECT_EQ(picker->selectedFont()->pointSize(), 13);
}

TEST_F(PickerTest, AFontOutsideTheSizesKeepsItsSizeUntilATapMovesItBack) {
    picker->setSelectedFont(gfx::Font::named("Verdana", 80));
    showPicker();
    EXPECT_EQ(picker->fontSizeControl()->value(), 80);
    tapStepper(true);
    EXPECT_TRUE(reports->log.empty()) << "never above 72";
    tapStepper(false);
    EXPECT_EQ(reports->log, (std::vector<std::string>{"font Verdana 79"}));

    picker->setSelectedFont(gfx::Font::named("Verdana", 8));
    picker->updateFontColourSelections();
    tapStepper(false);
    EXPECT_EQ(reports->log.size(), 1u) << "never below 8";
}

// The lists.

TEST_F(PickerTest, AFamilyOfSeveralFacesOpensItsFacesAndAFaceComesAt20Points) {
    picker->setSelectedFont(gfx::Font::named("Verdana", 30));
    showPicker();
    tapView(*picker->fontCell());
    auto* families = top<NZFontSelectTableViewController>();
    ASSERT_NE(families, nullptr);
    EXPECT_EQ(families->fontFamilyNames(), (std::vector<std::string>{"Georgia", "Helvetica Neue", "Verdana"}));
    EXPECT_EQ(markedRows(*families, 1001, 1002), (std::vector<std::string>{"Verdana"}));
    ui::TableViewCell* georgia = rowReading(*families, "Georgia");
    ASSERT_NE(georgia, nullptr);
    EXPECT_EQ(georgia->accessoryType(), ui::TableViewCell::Accessory::DetailDisclosureButton);
    EXPECT_EQ(rowReading(*families, "Verdana")->accessoryType(), ui::TableViewCell::Accessory::None) << "one face";

    tapView(*georgia);
    EXPECT_EQ(reports->log, (std::vector<std::string>{"font Georgia 30"})) << "the family's font, at the size";
    EXPECT_EQ(markedRows(*families, 1001, 1002), (std::vector<std::string>{"Georgia"}));

    families->accessoryButtonTapped(*families->tableView(), {0, 0});
    host.advance(0.6);
    auto* faces = top<NZFontStyleSelectTableViewController>();
    ASSERT_NE(faces, nullptr);
    EXPECT_EQ(faces->fontNames(), (std::vector<std::string>{"Georgia", "Georgia-Italic"}));
    EXPECT_EQ(rowReading(*faces, "Georgia")->accessoryType(), ui::TableViewCell::Accessory::Checkmark);
    tapView(*rowReading(*faces, "Georgia-Italic"));
    EXPECT_EQ(reports->log.back(), "font Georgia-Italic 20");
    EXPECT_EQ(picker->fontSizeControl()->value(), 30) << "the stepper keeps its value";
    EXPECT_EQ(picker->fontNameLabel()->text(), "Georgia-Italic");
}

TEST_F(PickerTest, AFamilyListWithoutAFontHandsOverSizeZero) {
    auto families = NZFontSelectTableViewController::create();
    families->setDelegate(reports);
    show(families);
    EXPECT_TRUE(markedRows(*families, 1001, 1002).empty());
    tapView(*rowReading(*families, "Helvetica Neue"));
    EXPECT_EQ(reports->log, (std::vector<std::string>{"list font HelveticaNeue 0"}));
    EXPECT_EQ(markedRows(*families, 1001, 1002), (std::vector<std::string>{"Helvetica Neue"}));
}

TEST_F(PickerTest, TheColourListMarksOnlyOneOfItsColours) {
    auto colours = NZColourSelectTableViewController::fromInterfaceFile();
    colours->setDelegate(reports);
    colours->setSelectedColour(core::Color::rgba(0.1f, 0.2f, 0.3f));
    show(colours);
    EXPECT_EQ(colours->title(), "Text Colour");
    EXPECT_EQ(colours->availableColours().size(), 11u);
    EXPECT_TRUE(markedRows(*colours, 1001, 0).empty()) << "a colour outside the eleven";
    host::testing::tap(host, host::testing::middleInWindow(rowAt(*colours, 5)));
    host.advance(0.5);
    EXPECT_EQ(reports->log, (std::vector<std::string>{"list colour " + core::colors::red().description()}));
    EXPECT_EQ(markedRows(*colours, 1001, 0), (std::vector<std::string>{"5"}));
}

TEST_F(PickerTest, AColourChoiceReachesTheSwatch) {
    picker->setSelectedTextColour(core::colors::blue());
    showPicker();
    tapView(*picker->colourCell());
    auto* colours = top<NZColourSelectTableViewController>();
    ASSERT_NE(colours, nullptr);
    EXPECT_EQ(markedRows(*colours, 1001, 0), (std::vector<std::string>{"4"}));
    tapView(rowAt(*colours, 10));
    EXPECT_EQ(reports->log, (std::vector<std::string>{"colour " + core::colors::brown().description()}));
    EXPECT_EQ(picker->colourView()->colour(), core::colors::brown());
    EXPECT_EQ(top<NZColourSelectTableViewController>(), colours) << "the list stays";
}

// The default style.

void expectDimmed(NZTextStylePickerViewController& picker, bool dimmed) {
    for (ui::TableViewCell* cell : {picker.sizeCell(), picker.fontCell(), picker.colourCell()}) {
        EXPECT_FLOAT_EQ(cell->contentView().alpha(), dimmed ? 0.4f : 1.0f) << cell->textLabel().text();
        EXPECT_EQ(cell->isUserInteractionEnabled(), !dimmed) << cell->textLabel().text();
    }
    EXPECT_FLOAT_EQ(picker.applyAsDefaultCell()->alpha(), dimmed ? 0.4f : 1.0f);
    EXPECT_EQ(picker.defaultSettingsSwitch()->isOn(), dimmed);
    const auto disclosure = dimmed ? ui::TableViewCell::Accessory::None : ui::TableViewCell::Accessory::DisclosureIndicator;
    EXPECT_EQ(picker.fontCell()->accessoryType(), disclosure);
    EXPECT_EQ(picker.colourCell()->accessoryType(), disclosure);
    EXPECT_EQ(picker.sizeCell()->accessoryType(), ui::TableViewCell::Accessory::None);
}

TEST_F(PickerTest, TheDefaultStyleDimsTheOtherRowsAlsoWhenReopened) {
    picker->setDefaultSettingsSwitchValue(true);
    picker->setSelectedFont(gfx::Font::named("Georgia", 20));
    picker->setSelectedTextColour(core::colors::red());
    showPicker();
    expectDimmed(*picker, true);
    tapView(*picker->fontCell());
    EXPECT_EQ(top<NZTextStylePickerViewController>(), picker.get()) << "a dimmed row opens nothing";

    tapView(*picker->defaultSettingsSwitch());
    EXPECT_EQ(reports->log, (std::vector<std::string>{"custom style"}));
    expectDimmed(*picker, false);

    tapView(*picker->applyAsDefaultCell());
    EXPECT_EQ(reports->log.back(), "default Georgia 20, " + core::colors::red().description());
    EXPECT_TRUE(picker->defaultSettingsSwitchValue());
    expectDimmed(*picker, true);

    tapView(*picker->defaultSettingsSwitch());
    tapView(*picker->defaultSettingsSwitch());
    EXPECT_EQ(reports->log.back(), "default style");
    expectDimmed(*picker, true);
}

TEST_F(PickerTest, APhoneHasADoneButton) {
    showPicker();
    ui::Button& done = navigation->navigationBar().rightButton();
    ASSERT_FALSE(done.isHidden());
    tapView(done);
    EXPECT_EQ(reports->log, (std::vector<std::string>{"done"}));
}

TEST(NZColourBlockView, ARadiusOfZeroFillsAPlainRectangle) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Phone, 1});
    auto screen = ui::View::create({0, 0, 100, 100});
    screen->setBackgroundColor(core::Color::white());
    host.window().addSubview(screen);
    auto rounded = NZColourBlockView::create({10, 10, 30, 20});
    rounded->setColour(core::colors::red());
    auto square = NZColourBlockView::create({50, 10, 30, 20});
    square->setColour(core::colors::red());
    square->setCornerRadius(0);
    auto unset = NZColourBlockView::create({10, 50, 30, 20});
    screen->addSubview(rounded);
    screen->addSubview(square);
    screen->addSubview(unset);
    const std::shared_ptr<const gfx::Image> frame = host.screenshot();
    const gfx::Bitmap& pixels = frame->bitmap();
    EXPECT_EQ(rounded->cornerRadius(), 7);
    EXPECT_EQ(pixels.pixel(10, 10).green, 255) << "a rounded corner leaves the ground";
    EXPECT_EQ(pixels.pixel(25, 20).green, 0);
    EXPECT_EQ(pixels.pixel(50, 10).red, 255);
    EXPECT_EQ(pixels.pixel(50, 10).green, 0) << "a square corner is filled";
    EXPECT_EQ(pixels.pixel(79, 29).green, 0);
    EXPECT_EQ(pixels.pixel(25, 60).red, 0) << "black without a colour";
}

// Pictures.

class PickerPictures : public PickerTest, public ::testing::WithParamInterface<ui::Idiom> {
protected:
    PickerPictures()
        : PickerTest({GetParam(), GetParam() == ui::Idiom::Phone ? 2.0f : 1.0f}) {}

    std::shared_ptr<const gfx::Image> shoot(const std::string& name, const ui::View& legible) {
        const std::string device = GetParam() == ui::Idiom::Tablet ? "tablet" : "phone";
        auto frame = host::testing::keepScreenshot(host, "textstyle-" + device + "-" + name);
        host::testing::expectLegible(*frame, legible, GetParam() == ui::Idiom::Phone ? 2.0f : 1.0f);
        return frame;
    }
};

TEST_P(PickerPictures, ThePickerItsListsAndItsStepper) {
    picker->setSelectedFont(gfx::Font::named("Georgia", 24));
    picker->setSelectedTextColour(core::colors::orange());
    picker->setDefaultSettingsSwitchValue(true);
    showPicker();
    shoot("default-on", picker->defaultSettingsCell()->textLabel());
    tapView(*picker->defaultSettingsSwitch());
    shoot("default-off", picker->fontCell()->textLabel());

    const ui::View& stepper = *picker->fontSizeControl();
    const core::Rect frame = stepper.convertRectToView(stepper.bounds(), nullptr);
    // The brightness of each half of the stepper, pressed up and then down.
    const float scale = GetParam() == ui::Idiom::Phone ? 2.0f : 1.0f;
    std::vector<std::pair<int, int>> halves;
    for (const bool upper : {true, false}) {
        const core::Point finger{frame.minX() + 10, upper ? frame.minY() + 5 : frame.maxY() - 5};
        host.touchDown(finger);
        host.advance(0.3); // past the table's wait for a scroll
        const auto picture = shoot(upper ? "stepper-up" : "stepper-down", picker->sizeCell()->textLabel());
        const auto grey = [&](float y) {
            const gfx::Pixel pixel = picture->bitmap().pixel(int((frame.minX() + 20) * scale), int(y * scale));
            return (pixel.red + pixel.green + pixel.blue) / 3;
        };
        halves.emplace_back(grey(frame.minY() + frame.height() / 4), grey(frame.minY() + 3 * frame.height() / 4));
        host.touchUp(finger);
        host.advance(0.2);
    }
    EXPECT_LT(halves[0].first, halves[1].first) << "the upper half pressed";
    EXPECT_LT(halves[1].second, halves[0].second) << "the lower half pressed";

    tapView(*picker->fontCell());
    auto* families = top<NZFontSelectTableViewController>();
    ASSERT_NE(families, nullptr);
    shoot("fonts", *rowReading(*families, "Georgia"));
    families->accessoryButtonTapped(*families->tableView(), {0, 0});
    host.advance(0.6);
    auto* faces = top<NZFontStyleSelectTableViewController>();
    ASSERT_NE(faces, nullptr);
    shoot("faces", *rowReading(*faces, "Georgia-Italic"));
    navigation->popViewController(false);
    host.advance(0.1);
    navigation->popViewController(false);
    host.advance(0.6);

    tapView(*picker->colourCell());
    auto* colours = top<NZColourSelectTableViewController>();
    ASSERT_NE(colours, nullptr);
    shoot("colours", *rowAt(*colours, 8).viewWithTag(1001));
}

INSTANTIATE_TEST_SUITE_P(NZ, PickerPictures, ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet),
                         [](const auto& info) { return info.param == ui::Idiom::Tablet ? "Tablet" : "Phone"; });

} // namespace
} // namespace zm
