#include "platform/core/Files.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/MailComposer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShareSheet.h"
#include "platform/ui/TextView.h"
#include "platform/ui/UrlOpener.h"
#include "platform/ui/Window.h"
#include "shell/container/ContainerViewController.h"
#include "shell/home/HomeViewController.h"
#include "shell/info/InfoAddresses.h"
#include "shell/info/InfoViewController.h"
#include "shell/info/LicensesViewController.h"
#include "shell/info/MoreAppsViewController.h"
#include "shell/testing/ScreenTesting.h"
#include "shell/testing/ShellTesting.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <fstream>
#include <sstream>

namespace zm {
namespace {

using testing::kPhone;
using testing::kTablet;

class RecordingOpener : public ui::UrlOpener {
public:
    bool open(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

class RecordingTransport : public ui::MailTransport {
public:
    core::Status send(const ui::MailMessage&) override { return {}; }
};

// Addresses of the tests' own, so that nothing depends on the defaults.
InfoAddresses testAddresses() {
    InfoAddresses addresses;
    addresses.feedbackEmail = "hello@maker.test";
    addresses.website = "https://maker.test";
    addresses.storeIdentifier = "42";
    addresses.storeHost = "store.test";
    addresses.otherStoreHost = "buy.store.test";
    return addresses;
}

// The information screen in the bundle's container, zoomed in as from the home screen.
class Info : public testing::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        testing::testDefaults().setBool(true, "seenIntro");
        ui::UrlOpener::setShared(opener);
        ui::MailComposer::setTransport(nullptr);
        InfoAddresses::setShared(testAddresses());
    }

    void TearDown() override {
        for (const std::shared_ptr<ui::AlertView>& alert : ui::AlertView::visibleAlerts())
            alert->dismiss(alert->cancelButtonIndex(), false);
        ui::UrlOpener::setShared(nullptr);
        ui::MailComposer::setTransport(nullptr);
        InfoAddresses::setShared({});
        ShellTest::TearDown();
    }

    std::shared_ptr<InfoViewController> openInfo(const ui::Device& device = kTablet) {
        host::HeadlessHost& application = start(device);
        container = ContainerViewController::create();
        application.window().setRootViewController(container);
        application.runUntilIdle();
        std::shared_ptr<InfoViewController> info = InfoViewController::spawnFromStoryboard();
        EXPECT_TRUE(info);
        if (info) {
            container->zoomIntoTopicVC(info);
            host->advance(0.6);
        }
        return info;
    }

    // Taps the button titled `title`, scrolling it into sight first.
    void tapButton(ui::ViewController& screen, const std::string& title) {
        ui::Button* button = testing::findButton(*screen.view(), title);
        ASSERT_TRUE(button) << title;
        if (auto* scroll = dynamic_cast<ui::ScrollView*>(button->superview()))
            scroll->scrollRectToVisible(button->frame(), false);
        testing::tap(*host, testing::middleInWindow(*button));
    }

    template <class Screen> std::shared_ptr<Screen> current() {
        return std::dynamic_pointer_cast<Screen>(container->mainVC());
    }

    std::shared_ptr<RecordingOpener> opener = std::make_shared<RecordingOpener>();
    std::shared_ptr<ContainerViewController> container;
};

TEST_F(Info, TheStoryboardsShowTheBlurredBackgroundAndTheButtonsOnBothDevices) {
    const struct {
        ui::Device device;
        core::Size contentSize;
        bool masked;
    } cases[] = {{kPhone, {480, 520}, true}, {kTablet, {5, 768}, false}};
    for (const auto& test : cases) {
        const auto info = openInfo(test.device);
        ASSERT_TRUE(info);
        EXPECT_EQ(container->mainVC(), info);
        EXPECT_TRUE(info->growsFromLowerRightCorner());
        EXPECT_EQ(info->preferredStatusBarStyle(), ui::StatusBarStyle::LightContent);
        ASSERT_TRUE(info->backgroundImageView());
        ASSERT_TRUE(info->backgroundImageView()->image());
        EXPECT_EQ(info->backgroundImageView()->image()->size(), test.device.screenSize());
        EXPECT_EQ(info->homeButton()->currentTitle(), "Topics");
        // The layout pass's sizes, not the one set at load.
        EXPECT_EQ(info->scrollView()->contentSize(), test.contentSize);
        for (const char* title : {"Send Feedback", "Tell a Friend", "Rate Zembrix", "Visit Our Website",
                                  "Join the Mailing List", "More Apps", "Licenses", "Reset Progress"})
            EXPECT_TRUE(testing::findButton(*info->scrollView(), title)) << title;

        // The button area fades out at its top and bottom on a phone only, masked once.
        ASSERT_EQ(bool(info->maskLayer()), test.masked);
        if (!test.masked)
            continue;
        const ui::GradientLayer& mask = *info->maskLayer();
        EXPECT_EQ(info->scrollViewContainer()->layer().mask().get(), &mask);
        const core::Color white = core::Color::white();
        EXPECT_EQ(mask.colors(), (std::vector{white.withAlpha(0), white, white, white.withAlpha(0)}));
        EXPECT_EQ(mask.locations().front(), 0);
        const core::Rect area = info->scrollViewContainer()->frame();
        EXPECT_EQ(mask.bounds(), core::Rect(0, 0, area.width(), area.height()));
        EXPECT_EQ(mask.anchorPoint(), core::Point(0, 0));
        info->viewDidAppear(false);
        EXPECT_EQ(info->scrollViewContainer()->layer().mask().get(), &mask);
    }
}

TEST_F(Info, ResettingForgetsTheProgressAndTheLastTopicAndKeepsEverythingElse) {
    core::UserDefaults& defaults = testing::testDefaults();
    TopicStatsDataController& progress = TopicStatsDataController::sharedInstance();
    progress.selectDifficulty(AlgebraDifficultyMaster, AlgebraTopicEquations);
    progress.problemCompletedForTopic(AlgebraTopicEquations);
    progress.setViewedTopic(AlgebraTopicEquations);
    defaults.setObject(std::string(AlgebraTopicEquations), AlgebraTopicState);
    defaults.setBool(true, "firstRun");
    defaults.setBool(true, "iCloud");
    defaults.setBool(true, "iCloudWasOn");
    defaults.setBool(true, "iCloudPrompted");
    defaults.synchronize();
    const std::filesystem::path document =
        core::FileLocations::shared().documents / "ProblemLists" / "Mine.problemlist";
    std::filesystem::create_directories(document.parent_path());
    ASSERT_TRUE(core::writeFileAtomically(document, "1+2\n").ok());

    const auto info = openInfo();
    for (int time = 1; time <= 2; ++time) {
        tapButton(*info, "Reset Progress");
        // Saved at once: the settings file holds the empty progress and no last topic.
        const core::Dictionary saved = testing::savedDefaults();
        EXPECT_FALSE(saved.find(AlgebraTopicState));
        ASSERT_TRUE(saved.find("statsKey"));
        EXPECT_EQ(*saved.find("statsKey"), core::Value(core::Dictionary{}));
        for (const char* kept : {"seenIntro", "firstRun", "iCloud", "iCloudWasOn", "iCloudPrompted"}) {
            ASSERT_TRUE(saved.find(kept)) << kept;
            EXPECT_TRUE(saved.find(kept)->boolValue()) << kept;
        }
        EXPECT_TRUE(std::filesystem::exists(document));
        // Said as it stands, once per reset.
        const auto alerts = ui::AlertView::visibleAlerts();
        ASSERT_EQ(alerts.size(), size_t(time));
        const ui::AlertView& alert = *alerts.back();
        EXPECT_EQ(alert.title(), "Progress Reset");
        EXPECT_EQ(alert.message(), "Start from the beginning!");
        ASSERT_EQ(alert.numberOfButtons(), 1);
        EXPECT_EQ(alert.buttonTitle(0), "Ok");
    }
    // Every topic is new again: novice, nothing solved, its help opens on entry.
    EXPECT_EQ(progress.difficultyForTopic(AlgebraTopicEquations), AlgebraDifficultyNovice);
    EXPECT_EQ(progress.totalCompletedForTopic(AlgebraTopicEquations, AlgebraDifficultyMaster), 0u);
    EXPECT_TRUE(progress.topicTotallyFresh(AlgebraTopicEquations));
}

TEST_F(Info, FeedbackMailIsOfferedOnlyWhenMailCanBeSent) {
    const auto info = openInfo();
    tapButton(*info, "Send Feedback");
    host->advance(0.5);
    EXPECT_FALSE(info->presentedViewController());

    ui::MailComposer::setTransport(std::make_shared<RecordingTransport>());
    tapButton(*info, "Send Feedback");
    host->advance(0.5);
    auto* composer = dynamic_cast<ui::MailComposer*>(info->presentedViewController());
    ASSERT_TRUE(composer);
    const ui::MailMessage message = composer->message();
    EXPECT_EQ(message.to, std::vector<std::string>{"hello@maker.test"});
    EXPECT_EQ(message.subject, "Zembrix Feedback");
    EXPECT_EQ(message.body, "");
    // Sent or cancelled, the composer goes.
    composer->cancel();
    host->advance(0.5);
    EXPECT_FALSE(info->presentedViewController());
    tapButton(*info, "Send Feedback");
    host->advance(0.5);
    ASSERT_TRUE(dynamic_cast<ui::MailComposer*>(info->presentedViewController()));
    dynamic_cast<ui::MailComposer*>(info->presentedViewController())->send();
    host->advance(0.5);
    EXPECT_FALSE(info->presentedViewController());
}

TEST_F(Info, TheStorePageAndTheWebSiteOpenOutsideAndSharingOffersTheStorePage) {
    const auto info = openInfo();
    tapButton(*info, "Rate Zembrix");
    tapButton(*info, "Visit Our Website");
    EXPECT_EQ(opener->opened,
              (std::vector<std::string>{"https://store.test/us/app/id42?mt=8", "https://maker.test/"}));
    EXPECT_EQ(container->mainVC(), info);

    tapButton(*info, "Tell a Friend");
    host->advance(0.5);
    auto* sheet = dynamic_cast<ui::ShareSheet*>(info->presentedViewController());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->text(), "Zembrix: https://store.test/us/app/id42?mt=8");
    sheet->cancel();
    host->advance(0.5);
    EXPECT_FALSE(info->presentedViewController());
}

TEST_F(Info, TheMailingListAndMoreAppsSlideInAsWebPagesAndBackLeadsToANewInfoScreen) {
    const struct {
        const char* button;
        const char* page;
    } cases[] = {{"Join the Mailing List", "https://maker.test/mailinglist.html"},
                 {"More Apps", "https://maker.test/moreapps.php?appid=1"}};
    for (const ui::Device& device : {kPhone, kTablet}) {
        for (const auto& test : cases) {
            const auto info = openInfo(device);
            tapButton(*info, test.button);
            ASSERT_TRUE(container->isTransitioning());
            // Slides in from the right.
            const auto web =
                std::dynamic_pointer_cast<MoreAppsViewController>(container->childViewControllers().back());
            ASSERT_TRUE(web) << test.button;
            host->advance(0.1);
            EXPECT_GT(web->view()->presentationFrame().minX(), 0);
            host->advance(0.5);
            ASSERT_EQ(container->mainVC(), web);
            EXPECT_EQ(web->urlString(), test.page);
            EXPECT_EQ(web->webView()->url(), test.page);
            EXPECT_EQ(web->backBarButtonItem()->title(), "  Back");
            // The spinner turned while the page loaded and went when it had.
            EXPECT_FALSE(web->webView()->isLoading());
            EXPECT_FALSE(web->activityView()->isAnimating());
            EXPECT_TRUE(web->activityView()->isHidden());

            web->backBarButtonItem()->trigger();
            ASSERT_TRUE(container->isTransitioning());
            const auto back =
                std::dynamic_pointer_cast<InfoViewController>(container->childViewControllers().back());
            ASSERT_TRUE(back);
            EXPECT_NE(back, info);
            host->advance(0.1);
            EXPECT_LT(back->view()->presentationFrame().minX(), 0);
            host->advance(0.5);
            EXPECT_EQ(container->mainVC(), back);
        }
    }
}

TEST_F(Info, TheSpinnerTurnsWhileAPageLoads) {
    const auto info = openInfo();
    tapButton(*info, "More Apps");
    host->advance(0.6);
    const auto web = current<MoreAppsViewController>();
    ASSERT_TRUE(web);
    web->webView()->followLink("https://maker.test/about.html");
    EXPECT_TRUE(web->activityView()->isAnimating());
    EXPECT_FALSE(web->activityView()->isHidden());
    host->advance(0.1);
    EXPECT_FALSE(web->activityView()->isAnimating());
    EXPECT_TRUE(web->activityView()->isHidden());
}

TEST_F(Info, OnlyLinksToTheStoresHostsLeaveTheGame) {
    const auto info = openInfo();
    tapButton(*info, "More Apps");
    host->advance(0.6);
    const auto web = current<MoreAppsViewController>();
    ASSERT_TRUE(web);
    const struct {
        const char* link;
        bool leaves;
    } cases[] = {
        {"https://store.test/us/app/id7?mt=8", true}, {"http://buy.store.test/app/other", true},
        {"https://Store.test/us/app/id7", false},     // letter case differs
        {"https://www.store.test/us/app/id7", false}, // a prefix
        {"https://store.test.example/app", false},    {"https://maker.test/moreapps.php?appid=2", false},
        {"mailto:someone@store.test", false},
    };
    for (const auto& test : cases) {
        opener->opened.clear();
        const std::string before = web->webView()->url();
        web->webView()->followLink(test.link);
        host->advance(0.1);
        if (test.leaves) {
            EXPECT_EQ(opener->opened, std::vector<std::string>{test.link}) << test.link;
            EXPECT_EQ(web->webView()->url(), before) << test.link;
        } else {
            EXPECT_TRUE(opener->opened.empty()) << test.link;
            EXPECT_EQ(web->webView()->url(), test.link) << test.link;
        }
    }
}

TEST_F(Info, AWebScreenWithoutAnAddressShowsTheMoreAppsPage) {
    openInfo();
    const auto web = MoreAppsViewController::spawnFromStoryboard();
    ASSERT_TRUE(web);
    container->pushTopicVC(web);
    host->advance(0.6);
    EXPECT_EQ(web->urlString(), "https://maker.test/moreapps.php?appid=1");
    EXPECT_EQ(web->webView()->url(), "https://maker.test/moreapps.php?appid=1");
}

TEST_F(Info, TopicsLeadsBackToANewHomeScreen) {
    const auto info = openInfo(kPhone);
    testing::tap(*host, testing::middleInWindow(*info->homeButton()));
    host->advance(0.6);
    EXPECT_TRUE(current<HomeViewController>());
}

// The Debian packages the game runs with, and what the licences call them. A library or font added to
// the package lists must be named here and in the licences.
const std::map<std::string, std::vector<std::string>> kLicensedPackages = {
    {"libcairo2-dev", {"Cairo", "GNU Lesser General Public License 2.1"}},
    {"libpixman-1-dev", {"Pixman", "MIT LICENCE"}},
    {"libpango1.0-dev", {"Pango", "GNU Lesser General Public License 2 or later"}},
    {"librsvg2-dev", {"librsvg", "GNU LESSER GENERAL PUBLIC LICENSE"}},
    {"libsdl2-dev", {"SDL2", "ZLIB LICENCE"}},
    {"nlohmann-json3-dev", {"nlohmann/json", "Niels Lohmann", "MIT LICENCE"}},
    {"libpugixml-dev", {"pugixml", "Arseny Kapoulkine"}},
    {"libpcre2-dev", {"PCRE2", "University of Cambridge", "BSD LICENCE"}},
    {"libssl-dev", {"OpenSSL", "APACHE LICENSE 2.0"}},
    {"libcurl4-openssl-dev", {"libcurl", "Daniel Stenberg", "CURL LICENCE"}},
    {"libsqlite3-dev", {"SQLite", "public domain"}},
    {"zlib1g-dev", {"zlib", "Jean-loup Gailly", "ZLIB LICENCE"}},
    {"libpng-dev", {"libpng", "PNG REFERENCE LIBRARY LICENSE"}},
    {"libturbojpeg0-dev", {"libjpeg-turbo", "based in part on the work of the Independent JPEG Group",
                           "INDEPENDENT JPEG GROUP LICENCE"}},
    {"libfontconfig-dev", {"Fontconfig", "Keith Packard", "FONTCONFIG LICENCE"}},
    {"libegl-dev", {"libglvnd", "NVIDIA"}},
    {"libgles-dev", {"libglvnd"}},
    {"libegl-mesa0", {"Mesa"}},
    {"libgl1-mesa-dri", {"Mesa"}},
    {"libavformat-dev", {"FFmpeg", "libavformat", "GNU GENERAL PUBLIC LICENSE"}},
    {"libavcodec-dev", {"libavcodec", "x264", "GNU General Public License 2 or later"}},
    {"libswscale-dev", {"libswscale"}},
    {"libswresample-dev", {"libswresample"}},
    {"libavutil-dev", {"libavutil"}},
    {"libprotobuf-c-dev", {"protobuf-c", "Dave Benson"}},
    {"libunwind-dev", {"libunwind", "Hewlett-Packard", "MIT LICENCE"}},
    {"fonts-ebgaramond", {"EB Garamond", "Georg Duffner", "SIL OPEN FONT LICENSE"}},
    {"fonts-roboto-unhinted", {"Roboto", "Google", "Apache License 2.0"}},
    {"fonts-dejavu-core", {"DejaVu", "Bitstream", "BITSTREAM VERA FONTS LICENCE"}},
};

// Packages that build or test the game but are not part of it.
bool buildOnly(const std::string& package) {
    static const std::set<std::string> tools = {"build-essential",
                                                "ccache",
                                                "clang",
                                                "cmake",
                                                "googletest",
                                                "libbenchmark-dev",
                                                "libclang-rt-14-dev",
                                                "libgmock-dev",
                                                "libgtest-dev",
                                                // Test servers and the stand-in service programs.
                                                "libcpp-httplib-dev",
                                                "ninja-build",
                                                "pkg-config",
                                                // Generates the crash report's message code at build time.
                                                "protobuf-c-compiler",
                                                "python3",
                                                "xauth",
                                                "xvfb"};
    return tools.contains(package);
}

TEST_F(Info, TheLicencesNameEveryLibraryAndFontOfThePackageListsAndGoWhenDone) {
    std::set<std::string> listed;
    const std::filesystem::path lists =
        core::FileLocations::shared().resources.parent_path() / "scripts" / "packages";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(lists)) {
        if (entry.path().extension() != ".list" || entry.path().parent_path().filename() == "bench")
            continue;
        std::ifstream file(entry.path());
        for (std::string line; std::getline(file, line);) {
            if (!line.empty() && line[0] != '#')
                listed.insert(line);
        }
    }
    ASSERT_FALSE(listed.empty());

    for (const ui::Device& device : {kPhone, kTablet}) {
        const auto info = openInfo(device);
        tapButton(*info, "Licenses");
        host->advance(0.5);
        auto* licences = dynamic_cast<LicensesViewController*>(info->presentedViewController());
        ASSERT_TRUE(licences);
        ASSERT_TRUE(licences->textView());
        EXPECT_FALSE(licences->textView()->isEditable());
        const std::string& text = licences->textView()->text();
        for (const std::string& package : listed) {
            if (buildOnly(package))
                continue;
            const auto names = kLicensedPackages.find(package);
            ASSERT_NE(names, kLicensedPackages.end()) << package << " is not in the licences";
            for (const std::string& name : names->second)
                EXPECT_NE(text.find(name), std::string::npos) << package << ": " << name;
        }
        // The licences that ask for their whole text to go with the program have it.
        for (const char* terms : {"TERMS AND CONDITIONS FOR COPYING, DISTRIBUTION AND MODIFICATION",
                                  "TERMS AND CONDITIONS FOR USE, REPRODUCTION, AND DISTRIBUTION"})
            EXPECT_NE(text.find(terms), std::string::npos) << terms;
        tapButton(*licences, "Done");
        host->advance(0.5);
        EXPECT_FALSE(info->presentedViewController());
        EXPECT_EQ(container->mainVC(), info);
    }
}

TEST_F(Info, EveryScreenIsDrawnLegiblyOnBothDevices) {
    for (const ui::Device& device : {ui::Device{ui::Idiom::Phone, 2}, kTablet}) {
        const std::string idiom = device.isTablet() ? "tablet" : "phone";
        const auto info = openInfo(device);
        auto frame = testing::keepScreenshot(*host, "info-" + idiom);
        for (const char* title : {"Topics", "Send Feedback", "Tell a Friend"})
            testing::expectLegible(*frame, testing::findButton(*info->view(), title)->titleLabel(),
                                   device.scale);

        tapButton(*info, "Licenses");
        host->advance(0.5);
        frame = testing::keepScreenshot(*host, "licenses-" + idiom);
        auto* licences = dynamic_cast<LicensesViewController*>(info->presentedViewController());
        ASSERT_TRUE(licences);
        testing::expectLegible(*frame, *licences->textView(), device.scale);
        // All of it: the end too.
        ui::TextView& text = *licences->textView();
        text.setContentOffset(text.maximumContentOffset());
        testing::expectLegible(*host->screenshot(), text, device.scale);
        info->dismissViewController(false);

        tapButton(*info, "More Apps");
        host->advance(0.6);
        frame = testing::keepScreenshot(*host, "moreapps-" + idiom);
        const auto web = current<MoreAppsViewController>();
        ASSERT_TRUE(web);
        testing::expectLegible(*frame, *web->webView(), device.scale);
    }
}

TEST(InfoAddresses, TheEnvironmentOverridesTheDefaults) {
    const std::map<std::string, std::string> environment = {{"ZEMBRIX_WEBSITE", "https://example.org/"},
                                                            {"ZEMBRIX_STORE_ID", "7"},
                                                            {"ZEMBRIX_FEEDBACK_EMAIL", ""}};
    const InfoAddresses addresses = InfoAddresses::fromEnvironment([&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    });
    const InfoAddresses defaults;
    EXPECT_EQ(addresses.feedbackEmail, defaults.feedbackEmail);
    EXPECT_EQ(addresses.homePage(), "https://example.org/");
    EXPECT_EQ(addresses.mailingListPage(), "https://example.org/mailinglist.html");
    EXPECT_EQ(addresses.moreAppsPage(), "https://example.org/moreapps.php?appid=1");
    EXPECT_EQ(addresses.storePage(), "https://" + defaults.storeHost + "/us/app/id7?mt=8");
}

} // namespace
} // namespace zm
