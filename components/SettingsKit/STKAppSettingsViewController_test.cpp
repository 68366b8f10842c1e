#include "components/SettingsKit/STKAppSettingsViewController.h"

#include "components/NZTextStylePicker/NZFontSelectTableViewController.h"
#include "components/SettingsKit/STKAppSettingsWebViewController.h"
#include "components/SettingsKit/STKKeyedControls.h"
#include "components/SettingsKit/STKSettingsCells.h"
#include "components/SettingsKit/STKSettingsReader.h"
#include "components/SettingsKit/STKSettingsStoreFile.h"
#include "components/SettingsKit/STKSpecifierValuesViewController.h"
#include "components/SettingsKit/STKTesting.h"
#include "platform/core/DictionaryFile.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScreenTesting.h"
#include "platform/ui/Application.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/UrlOpener.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::group;
using testing::row;

// Every row type: the settings file the screens are tried on.
core::Array rootRows() {
    return {
        group("Sound"),
        row("PSToggleSwitchSpecifier", "sound", "Sound",
            {{"DefaultValue", "on"}, {"TrueValue", "on"}, {"FalseValue", "off"}}),
        row("PSToggleSwitchSpecifier", "vibrate", "Vibrate"),
        row("PSSliderSpecifier", "volume", "", {{"MinimumValue", 0}, {"MaximumValue", 10}, {"DefaultValue", 5}}),
        group("Profile", "", "Shown to others"),
        row("PSTextFieldSpecifier", "name", "Name", {{"DefaultValue", "Ann"}}),
        row("PSMultiValueSpecifier", "level", "Level",
            {{"DefaultValue", 2}, {"Values", core::Array{1, 2, 3}}, {"Titles", core::Array{"Easy", "Medium", "Hard"}}}),
        row("PSTitleValueSpecifier", "version", "Version", {{"DefaultValue", "1.0"}}),
        row("STKFontSelectorSpecifier", "font", "Font", {{"DefaultValue", "Helvetica Neue"}}),
        group("Lonely", "lonely"),
        row("PSToggleSwitchSpecifier", "only", "Only row"),
        group("More", "", "Note"),
        row("PSChildPaneSpecifier", "child", "Advanced", {{"File", "Child"}}),
        row("STKButtonSpecifier", "reset", "Reset", {{"STKButtonClass", "KitTestButtons"}, {"STKButtonAction", "reset:"}}),
        row("STKMailComposeSpecifier", "mail", "Write to us", {{"STKMailComposeToRecipents", core::Array{"a@example.com"}}}),
    };
}

class ChangeLog : public STKSettingsDelegate {
public:
    void settingsViewControllerDidEnd(STKAppSettingsViewController&) override { calls.push_back("end"); }
    bool respondsTo(STKSettingsMessage message) const override { return messages.contains(message); }
    void buttonTappedForKey(STKAppSettingsViewController&, const std::string& key) override {
        calls.push_back("key " + key);
    }
    void buttonTappedForSpecifier(STKAppSettingsViewController&, const STKSpecifier& specifier) override {
        calls.push_back("specifier " + specifier.key().value_or(""));
    }

    std::set<STKSettingsMessage> messages;
    std::vector<std::string> calls;
};

class SettingsScreen : public ::testing::Test {
protected:
    explicit SettingsScreen(ui::Device device = {ui::Idiom::Phone, 1})
        : host(device) {
        core::UserDefaults::setStandard(defaults);
        STKAppSettingsViewController::resetUserDefaultsSnapshot();
        bundle.writeSettings("Settings.bundle/Root.plist", rootRows());
        bundle.writeSettings("Settings.bundle/Child.plist",
                             {group("Details", "", "Child note"), row("PSToggleSwitchSpecifier", "detail", "Detail")});
        screen->setApplicationBundle(bundle.path());
        screen->setDelegate(delegate);
        changes = core::NotificationCenter::defaultCenter().addObserver(
            std::string(kAppSettingChanged), nullptr, [this](const core::Notification& notification) {
                for (const auto& entry : notification.userInfo.asDictionary()->entries())
                    posted.push_back(entry.key + "=" + entry.value.stringValue());
            });
    }
    ~SettingsScreen() override { core::UserDefaults::setStandard(nullptr); }

    void show() {
        host.window().setRootViewController(navigation);
        host.advance(0.5);
    }
    // The cell of the row with `key`, scrolled into sight.
    ui::TableViewCell& cellFor(const std::string& key) {
        const std::optional<ui::IndexPath> indexPath = screen->settingsReader()->indexPathForKey(key);
        EXPECT_TRUE(indexPath) << key;
        screen->tableView()->scrollToRow(*indexPath, ui::TableView::ScrollPosition::Middle, false);
        host.window().layoutIfNeeded();
        std::shared_ptr<ui::TableViewCell> cell = screen->tableView()->cellForRow(*indexPath);
        EXPECT_TRUE(cell) << key;
        return *cell;
    }
    void tapCell(const std::string& key) { host::testing::tap(host, host::testing::middleInWindow(cellFor(key))); }
    void tapView(const ui::View& view) {
        host::testing::tap(host, host::testing::middleInWindow(view));
        host.advance(0.5);
    }

    host::HeadlessHost host;
    testing::SettingsBundle bundle;
    std::shared_ptr<core::UserDefaults> defaults =
        std::make_shared<core::UserDefaults>(bundle.path() / "defaults.plist");
    std::shared_ptr<ChangeLog> delegate = std::make_shared<ChangeLog>();
    std::shared_ptr<STKAppSettingsViewController> screen = STKAppSettingsViewController::create();
    std::shared_ptr<ui::NavigationController> navigation = ui::NavigationController::create(screen);
    core::NotificationCenter::Observation changes;
    std::vector<std::string> posted;
};

TEST_F(SettingsScreen, RowsShowTheirValuesAndDefaults) {
    defaults->setObject(3, "level");
    show();
    EXPECT_EQ(screen->title(), "Settings");
    EXPECT_EQ(navigation->navigationBar().rightButton().currentTitle(), "Done");
    EXPECT_TRUE(static_cast<STKSwitch&>(*cellFor("sound").accessoryView()).isOn()) << "default on, as TrueValue";
    EXPECT_FALSE(static_cast<STKSwitch&>(*cellFor("vibrate").accessoryView()).isOn());
    EXPECT_EQ(static_cast<STKPSSliderSpecifierViewCell&>(cellFor("volume")).slider().value(), 5);
    EXPECT_EQ(static_cast<STKPSTextFieldSpecifierViewCell&>(cellFor("name")).textField().text(), "Ann");
    EXPECT_EQ(cellFor("level").detailTextLabel().text(), "Hard");
    EXPECT_EQ(cellFor("version").detailTextLabel().text(), "1.0");
    EXPECT_EQ(cellFor("font").detailTextLabel().text(), "Helvetica Neue");
}

TEST_F(SettingsScreen, TogglesStoreTheirValuesOrTruthValues) {
    show();
    tapView(*cellFor("sound").accessoryView());
    tapView(*cellFor("vibrate").accessoryView());
    EXPECT_EQ(defaults->objectForKey("sound"), core::Value("off"));
    EXPECT_EQ(defaults->objectForKey("vibrate"), core::Value(true));
    EXPECT_EQ(posted, (std::vector<std::string>{"sound=off", "vibrate=1"}));
}

TEST_F(SettingsScreen, CreditsCloseTheLastFooterButNotAChildsFooter) {
    show();
    const int last = screen->settingsReader()->numberOfSections() - 1;
    ui::TableView& table = *screen->tableView();
    EXPECT_EQ(screen->titleForFooter(table, last), "Note\n\nPowered by SettingsKit");
    EXPECT_EQ(screen->titleForFooter(table, 1), "Shown to others");
    screen->setShowCreditsFooter(false);
    EXPECT_EQ(screen->titleForFooter(table, last), "Note");

    screen->setShowCreditsFooter(true);
    tapCell("child");
    host.advance(1);
    auto* child = dynamic_cast<STKAppSettingsViewController*>(navigation->topViewController());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->title(), "Advanced");
    EXPECT_EQ(child->titleForFooter(*child->tableView(), 0), "Child note");
    EXPECT_FALSE(child->showDoneButton());
    EXPECT_TRUE(navigation->navigationBar().rightButton().isHidden());
}

TEST_F(SettingsScreen, TheFirstAppearanceReloadsEveryKeyInTheDefaults) {
    // The rows are made before the screen first appears, and the defaults change meanwhile unheard.
    const ui::IndexPath name = *screen->settingsReader()->indexPathForKey("name");
    screen->view()->setFrame({0, 0, 480, 276});
    screen->view()->layoutIfNeeded();
    const auto field = [&] {
        return static_cast<STKPSTextFieldSpecifierViewCell&>(*screen->tableView()->cellForRow(name)).textField().text();
    };
    ASSERT_EQ(field(), "Ann");
    defaults->setObject("Zoe", "name");
    show();
    EXPECT_EQ(field(), "Zoe");
    // An outside change reaches the row.
    defaults->setObject("Max", "name");
    host.advance(0.1);
    EXPECT_EQ(field(), "Max");
}

TEST_F(SettingsScreen, ATapElsewhereEndsTheEditing) {
    show();
    auto& field = static_cast<STKPSTextFieldSpecifierViewCell&>(cellFor("name")).textField();
    tapView(field);
    ASSERT_TRUE(field.isFirstResponder());
    tapView(field);
    EXPECT_TRUE(field.isFirstResponder()) << "a tap on the field itself keeps it";
    tapView(cellFor("version"));
    EXPECT_FALSE(field.isFirstResponder());
    EXPECT_EQ(screen->currentFirstResponder(), nullptr);
}

TEST_F(SettingsScreen, AFieldBeingEditedIsLeftAlone) {
    show();
    auto& field = static_cast<STKPSTextFieldSpecifierViewCell&>(cellFor("name")).textField();
    tapView(field);
    ASSERT_TRUE(field.isFirstResponder());
    host.typeText("ie");
    EXPECT_EQ(defaults->objectForKey("name"), core::Value("Annie"));
    defaults->setObject("Someone else", "name");
    host.advance(0.1);
    EXPECT_EQ(field.text(), "Annie");
    EXPECT_EQ(posted, (std::vector<std::string>{"name=Annie"}));
}

TEST_F(SettingsScreen, HidingASectionsOnlyRowKeepsItsHeading) {
    show();
    const int sections = screen->tableView()->numberOfSections();
    const int lonely = screen->settingsReader()->indexPathForKey("only")->section;
    screen->setHiddenKeys({"only"}, true);
    host.advance(1);
    EXPECT_EQ(screen->tableView()->numberOfSections(), sections);
    EXPECT_EQ(screen->tableView()->numberOfRows(lonely), 0);
    EXPECT_EQ(screen->titleForHeader(*screen->tableView(), lonely), "Lonely");
    screen->setHiddenKeys({}, true);
    host.advance(1);
    EXPECT_EQ(screen->tableView()->numberOfRows(lonely), 1);
}

TEST_F(SettingsScreen, HidingAGroupKeyMovesItsRowsUp) {
    show();
    const int sections = screen->tableView()->numberOfSections();
    screen->setHiddenKeys({"lonely"}, true);
    host.advance(1);
    EXPECT_EQ(screen->tableView()->numberOfSections(), sections - 1);
    const ui::IndexPath only = *screen->settingsReader()->indexPathForKey("only");
    EXPECT_EQ(screen->titleForHeader(*screen->tableView(), only.section), "Profile");
    EXPECT_EQ(screen->tableView()->numberOfRows(only.section), 5) << "the Profile rows and the lonely one";
    screen->setHiddenKeys({}, true);
    host.advance(1);
    EXPECT_EQ(screen->tableView()->numberOfSections(), sections);
}

TEST_F(SettingsScreen, AButtonGoesToTheFirstHandlerThatTakesIt) {
    std::vector<std::string> classCalls;
    ui::ClassRegistry::shared().registerClass<ui::ViewController>("KitTestButtons", "ViewController",
                                                                  [] { return ui::ViewController::create(); });
    STKNamedOperations::shared().addClassOperation(
        "KitTestButtons", "reset:", [&](ui::ViewController&, const std::string& key) { classCalls.push_back(key); });
    show();
    struct Case {
        std::set<STKSettingsMessage> messages;
        std::vector<std::string> delegateCalls;
        size_t classCalls;
    };
    const Case cases[] = {
        {{STKSettingsMessage::ButtonTappedForSpecifier, STKSettingsMessage::ButtonTappedForKey}, {"specifier reset"}, 0},
        {{STKSettingsMessage::ButtonTappedForKey}, {"key reset"}, 0},
        {{}, {}, 1},
    };
    for (const Case& c : cases) {
        delegate->messages = c.messages;
        delegate->calls.clear();
        classCalls.clear();
        tapCell("reset");
        host.advance(0.5);
        EXPECT_EQ(delegate->calls, c.delegateCalls);
        EXPECT_EQ(classCalls.size(), c.classCalls);
    }
    STKNamedOperations::shared().removeAll();
}

TEST_F(SettingsScreen, AChoiceIsStoredSynchronisedAndPosted) {
    auto store = std::make_shared<STKSettingsStoreFile>(bundle.path() / "store.plist");
    screen->setSettingsStore(store);
    show();
    tapCell("level");
    host.advance(1);
    auto* list = dynamic_cast<STKSpecifierValuesViewController*>(navigation->topViewController());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->title(), "Level");
    EXPECT_EQ(list->checkedItem(), (ui::IndexPath{0, 1})) << "the default";
    const auto tapChoice = [&](int item) {
        host::testing::tap(host, host::testing::middleInWindow(*list->tableView()->cellForRow({0, item})));
        host.advance(0.5);
    };
    tapChoice(1);
    EXPECT_TRUE(posted.empty()) << "the marked choice stores nothing";
    tapChoice(0);
    EXPECT_EQ(list->checkedItem(), (ui::IndexPath{0, 0}));
    EXPECT_EQ(list->tableView()->cellForRow({0, 0})->accessoryType(), ui::TableViewCell::Accessory::Checkmark);
    EXPECT_EQ(posted, (std::vector<std::string>{"level=1"}));
    EXPECT_EQ(core::readDictionaryFile(bundle.path() / "store.plist", "test").values, (core::Dictionary{{"level", 1}}));
    navigation->popViewController(false);
    host.advance(1);
    EXPECT_EQ(cellFor("level").detailTextLabel().text(), "Easy");
}

TEST_F(SettingsScreen, AFontChoiceGoesThroughTheScreensStore) {
    auto store = std::make_shared<STKSettingsStoreFile>(bundle.path() / "store.plist");
    screen->setSettingsStore(store);
    show();
    tapCell("font");
    host.advance(1);
    auto* families = dynamic_cast<NZFontSelectTableViewController*>(navigation->topViewController());
    ASSERT_NE(families, nullptr);
    EXPECT_EQ(families->selectedFont(), std::nullopt) << "the list marks no family";
    const auto georgia = std::ranges::find(families->fontFamilyNames(), "Georgia") - families->fontFamilyNames().begin();
    host::testing::tap(host, host::testing::middleInWindow(*families->tableView()->cellForRow({0, int(georgia)})));
    host.advance(0.5);
    EXPECT_EQ(core::readDictionaryFile(bundle.path() / "store.plist", "test").values, (core::Dictionary{{"font", "Georgia"}}));
    EXPECT_FALSE(defaults->contains("font"));
    EXPECT_EQ(posted, (std::vector<std::string>{"font=Georgia"}));
    navigation->popViewController(false);
    host.advance(0.5);
    EXPECT_EQ(cellFor("font").detailTextLabel().text(), "Georgia");
    EXPECT_FALSE(cellFor("font").isSelected()) << "the row lets go of its highlight";
}

TEST_F(SettingsScreen, DoneSynchronisesAndTellsTheDelegate) {
    show();
    tapView(navigation->navigationBar().rightButton());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"end"}));
    EXPECT_TRUE(std::filesystem::exists(bundle.path() / "defaults.plist"));
}

TEST_F(SettingsScreen, GoingToTheBackgroundSynchronisesTheStore) {
    auto store = std::make_shared<STKSettingsStoreFile>(bundle.path() / "store.plist");
    screen->setSettingsStore(store);
    show();
    store->setObject("kept", "name");
    host.application().enterBackground();
    EXPECT_EQ(core::readDictionaryFile(bundle.path() / "store.plist", "test").values, (core::Dictionary{{"name", "kept"}}));
}

TEST_F(SettingsScreen, MailWithoutATransportSaysSo) {
    ui::MailComposer::setTransport(nullptr);
    show();
    tapCell("mail");
    host.advance(0.5);
    EXPECT_EQ(navigation->presentedViewController(), nullptr);
    bool alerted = false;
    for (const auto& view : host.window().subviews())
        alerted = alerted || host::testing::findText(*view, "Mail not configured");
    EXPECT_TRUE(alerted);
}

// The web page screen.

TEST(STKAppSettingsWebViewController, ReadsMailAddresses) {
    struct Case {
        const char* address;
        std::optional<std::vector<std::string>> to;
        std::string subject;
        std::vector<std::string> cc;
    };
    const Case cases[] = {
        {"mailto:a@example.com?subject=Hello%20there&to=b@example.com,c@example.com",
         std::vector<std::string>{"a@example.com", "b@example.com", "c@example.com"},
         "Hello there",
         {}},
        {"mailto:a@example.com?subject=x?y", std::nullopt, "", {}},
        {"mailto:?cc=one@example.com&cc=two@example.com&broken&BODY=text", std::vector<std::string>{}, "",
         {"two@example.com"}},
    };
    for (const Case& c : cases) {
        const std::optional<ui::MailMessage> message = STKAppSettingsWebViewController::mailMessageForAddress(c.address);
        ASSERT_EQ(message.has_value(), c.to.has_value()) << c.address;
        if (!message)
            continue;
        EXPECT_EQ(message->to, *c.to) << c.address;
        EXPECT_EQ(message->subject, c.subject) << c.address;
        EXPECT_EQ(message->cc, c.cc) << c.address;
    }
}

class RecordingOpener : public ui::UrlOpener {
public:
    bool open(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

TEST(STKAppSettingsWebViewController, RoutesLinksByHost) {
    auto opener = std::make_shared<RecordingOpener>();
    ui::UrlOpener::setShared(opener);
    auto page = STKAppSettingsWebViewController::create();
    page->initWithFile("https://www.example.com/help", "");
    ui::WebView& web = *ui::WebView::create();
    EXPECT_TRUE(page->webViewShouldStartLoad(web, "https://www.example.com/more", ui::NavigationType::LinkClicked));
    EXPECT_TRUE(page->webViewShouldStartLoad(web, "file:///tmp/page.html", ui::NavigationType::LinkClicked));
    EXPECT_FALSE(page->webViewShouldStartLoad(web, "https://elsewhere.example.org/", ui::NavigationType::LinkClicked));
    EXPECT_EQ(opener->opened, (std::vector<std::string>{"https://elsewhere.example.org/"}));
    ui::UrlOpener::setShared(nullptr);

    auto missing = STKAppSettingsWebViewController::create();
    missing->initWithFile("no-such-page.html", "");
    EXPECT_EQ(missing->url(), "");
}

// Pictures.

class SettingsPictures : public SettingsScreen, public ::testing::WithParamInterface<ui::Idiom> {
protected:
    SettingsPictures()
        : SettingsScreen({GetParam(), 1}) {}

    void shoot(const std::string& name, const ui::View& legible) {
        const std::string device = GetParam() == ui::Idiom::Tablet ? "tablet" : "phone";
        const auto frame = host::testing::keepScreenshot(host, "settings-" + device + "-" + name);
        host::testing::expectLegible(*frame, legible, 1);
    }
};

TEST_P(SettingsPictures, SettingsChoicesChildAndWebPage) {
    bundle.write("page.html", "<html><title>Help</title><a href=\"mailto:help@example.com\">Write</a></html>");
    ui::ClassRegistry::shared().registerClass<STKAppSettingsWebViewController, ui::ViewController>(
        "STKAppSettingsWebViewController", "ViewController", [] { return STKAppSettingsWebViewController::create(); });
    show();
    shoot("screen", cellFor("sound").textLabel());
    tapCell("level");
    host.advance(1);
    shoot("choices", *static_cast<STKSpecifierValuesViewController*>(navigation->topViewController())
                          ->tableView()
                          ->cellForRow({0, 0}));
    navigation->popViewController(false);
    host.advance(1);
    tapCell("child");
    host.advance(1);
    auto* child = static_cast<STKAppSettingsViewController*>(navigation->topViewController());
    shoot("child", *child->tableView()->cellForRow({0, 0}));
    navigation->popViewController(false);
    host.advance(1);

    auto web = STKAppSettingsWebViewController::create();
    web->initWithFile("file://" + (bundle.path() / "page.html").string(), "");
    navigation->pushViewController(web, false);
    host.advance(1);
    EXPECT_EQ(web->title(), "Help");
    shoot("web", navigation->navigationBar().titleLabel());
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsPictures, ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet),
                         [](const auto& info) { return info.param == ui::Idiom::Tablet ? "Tablet" : "Phone"; });

} // namespace
} // namespace zm
