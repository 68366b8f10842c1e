#pragma once

#include "platform/core/Value.h"
#include "platform/ui/SoundPlayer.h"
#include "shell/app/ServiceCredentials.h"

#include <functional>
#include <memory>

namespace ui {
class Application;
}

namespace zm {

class ContainerViewController;
class ProblemSetStore;

// Starts the application and serves the screens: the launch sequence (crash reporting, analytics, the
// root container, the alert sound, the first-launch events), the alert sound of refused moves, and the
// problem-set store, made on first need. Screens reach it through shared(). There is no shut-down
// work: everything is saved when it changes.
//
// Main thread only; one at a time.
class AppDelegate {
public:
    struct Configuration {
        ServiceCredentials credentials;
        // Makes the problem-set store; without one the problem sets stay unavailable.
        std::function<std::shared_ptr<ProblemSetStore>()> makeProblemSetStore;
        // Starts crash reporting with the API key: the process's crash reporter unless replaced.
        // Analytics are the process's (Telemetry), sending to the service ZEMBRIX_TELEMETRY_HOST names.
        std::function<void(const std::string& apiKey)> startCrashReporting;
    };

    explicit AppDelegate(Configuration configuration);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The delegate of the running application; null when there is none.
    static AppDelegate* shared();

    // The launch sequence, once the application's window exists; always answers true.
    bool application(ui::Application& application, const core::Dictionary& launchOptions);

    // True exactly once in the life of the installation: the first call stores "firstRun" at once.
    bool isFirstRun();
    void createSounds();
    void playAlert();
    // Makes the problem-set store unless there is one.
    void loadProblems();

    const std::shared_ptr<ProblemSetStore>& dataController() const { return m_dataController; }
    // The window's root view controller.
    std::shared_ptr<ContainerViewController> containerVC() const;
    ui::SoundPlayer::SoundId alertSoundID() const { return m_alertSoundID; }

private:
    void startServices(const core::Dictionary& launchOptions);

    Configuration m_configuration;
    ui::Application* m_application = nullptr; // set at launch; outlives the delegate
    ui::SoundPlayer::SoundId m_alertSoundID = 0;
    std::shared_ptr<ProblemSetStore> m_dataController;
};

} // namespace zm
