#pragma once

// A container with stand-in screens: a home screen that answers what the container asks of it, and
// plain screens registered under the names of the screens the container makes by name.

#include "platform/core/Files.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Window.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/HomeScreen.h"
#include "shell/testing/ShellTesting.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zm::testing {

class TestScreen : public TopicViewController {
public:
    static std::shared_ptr<TestScreen> make() { return std::shared_ptr<TestScreen>(new TestScreen); }
    bool growsFromLowerRightCorner() const override { return fromCorner; }

    bool fromCorner = false;
};

class TestHomeScreen : public HomeScreen {
public:
    static std::shared_ptr<TestHomeScreen> make() {
        return std::shared_ptr<TestHomeScreen>(new TestHomeScreen);
    }

    void setStartingTopic(std::optional<Topic> topic) override { startingTopic = std::move(topic); }
    void setCurrentTopic(std::optional<Topic> topic) override { currentTopic = std::move(topic); }
    float calculatePerc() const override { return perc; }
    core::Rect playgroundRectForTopic(const Topic& topic) override {
        return topic.topicID() == cardTopic ? card : core::Rect::null();
    }
    void animateToNextTopic() override {
        ++movedOn;
        const std::shared_ptr<ContainerViewController> container = containerVC();
        movedOnAsCurrentScreen = container && container->mainVC().get() == this;
        childrenWhenMovedOn = container ? container->childViewControllers().size() : 0;
    }

    std::optional<Topic> startingTopic;
    std::optional<Topic> currentTopic;
    float perc = 0.4f;
    std::string cardTopic = "AlgebraTopicFactorization";
    core::Rect card{600, 300, 100, 80};
    int movedOn = 0;
    bool movedOnAsCurrentScreen = false;
    size_t childrenWhenMovedOn = 0;
};

// Launches a container in a headless application whose interface files are the bundle's container
// files beside stand-in storyboards: for the home screen (unless the bundle's own is wanted) and for
// the tutorial and the info screen when asked for. The screens made by class name are stand-ins.
class ContainerTest : public ShellTest {
protected:
    // What to launch with, combined with |.
    enum Screens : unsigned { kStandInHome = 0, kBundleHome = 1, kIntro = 2, kInfo = 4 };

    std::shared_ptr<ContainerViewController> launch(const ui::Device& device = kTablet,
                                                    unsigned screens = 0) {
        host::HeadlessHost& application = start(device);
        std::filesystem::remove_all(interface.path());
        std::filesystem::create_directories(interface.path());
        std::vector<std::string> bundleFiles = {"ContainerViewController"};
        if (screens & kBundleHome)
            bundleFiles.push_back("HomeStoryboard");
        else
            write("HomeStoryboard.json",
                  R"({"initialViewController": {"class": "TestHomeScreen"}, "view": {}})");
        const std::filesystem::path bundle = core::FileLocations::shared().resources / "interface";
        for (const std::string& name : bundleFiles) {
            for (const std::string& file : {name + ".json", name + "~ipad.json"})
                std::filesystem::copy_file(bundle / file, interface.path() / file);
        }
        if (screens & kIntro)
            write("IntroStoryboard.json",
                  R"({"initialViewController": {"class": "TestScreen"}, "view": {}})");
        if (screens & kInfo)
            write("InfoStoryboard.json", R"({"initialViewController": {"class": "TestScreen"}, "view": {}})");
        ui::InterfaceLoader::setShared({interface.path(), device.idiom, &bundleImages()});
        ui::ClassRegistry& registry = ui::ClassRegistry::shared();
        registry.registerClass<TestHomeScreen, ui::ViewController>("TestHomeScreen", "ViewController",
                                                                   [] { return TestHomeScreen::make(); });
        for (const char* name : {"TestScreen", "PlaygroundViewController", "MasterListViewController"})
            registry.registerClass<TestScreen, ui::ViewController>(name, "ViewController",
                                                                   [] { return TestScreen::make(); });

        auto container = ContainerViewController::create();
        application.window().setRootViewController(container);
        application.runUntilIdle();
        return container;
    }

    std::shared_ptr<TestHomeScreen> home(const ContainerViewController& container) {
        return std::dynamic_pointer_cast<TestHomeScreen>(container.mainVC());
    }

    void write(const std::string& name, std::string_view text) {
        ASSERT_TRUE(core::writeFileAtomically(interface.path() / name, text).ok());
    }

    core::TemporaryFolder interface;
};

} // namespace zm::testing
