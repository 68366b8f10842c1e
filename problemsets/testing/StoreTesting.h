#pragma once

// The problem-set store over real folders: a data root and a cloud folder of the test's own, the
// settings of the cloud choice, the offers waiting for an answer, and a listener that counts.

#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/documents/testing/DocumentTesting.h"
#include "platform/ui/AlertView.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "problemsets/store/QVDocumentListener.h"
#include "shell/testing/ShellTesting.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace zm::testing {

class CountingListener : public QVDocumentListener {
public:
    void documentListUpdated() override { ++updates; }
    int updates = 0;
};

// The three settings of the cloud choice: "iCloud", "iCloudWasOn", "iCloudPrompted".
struct CloudChoice {
    bool on, wasOn, prompted;
    friend bool operator==(const CloudChoice&, const CloudChoice&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const CloudChoice& choice) {
    return out << "{iCloud " << choice.on << ", was on " << choice.wasOn << ", prompted " << choice.prompted << "}";
}

class StoreTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        m_previousLocations = core::FileLocations::shared();
        // A table's cases each start again from nothing.
        for (const auto& entry : std::filesystem::directory_iterator(root.path()))
            std::filesystem::remove_all(entry.path());
        useCloud(true);
    }

    void TearDown() override {
        store.reset();
        for (const std::shared_ptr<ui::AlertView>& alert : ui::AlertView::visibleAlerts())
            alert->dismiss(ui::AlertView::kNoButton, false);
        core::FileLocations::setShared(m_previousLocations);
        ShellTest::TearDown();
    }

    // The data root of the test, with the cloud folder beside it or none.
    void useCloud(bool available) {
        core::FileLocations locations =
            core::FileLocations::underRoot(root.path() / "home", m_previousLocations.resources);
        if (available)
            locations.cloudContainer = root.path() / "cloud";
        // Screenshots are kept where every screen test keeps them.
        locations.temporary = m_previousLocations.temporary;
        core::FileLocations::setShared(std::move(locations));
    }

    std::filesystem::path localFolder() const { return core::FileLocations::shared().documents / "ProblemLists"; }
    std::filesystem::path cloudFolder() const { return root.path() / "cloud" / "ProblemLists"; }

    static void makeSet(const std::filesystem::path& folder, const std::string& name, std::string_view text = "") {
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(core::writeFileAtomically(folder / name, text).ok());
    }

    // The names of the files in a folder, sorted; hidden ones left out.
    static std::vector<std::string> filesIn(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        std::error_code code;
        for (const auto& entry : std::filesystem::directory_iterator(folder, code)) {
            if (!entry.path().filename().string().starts_with('.'))
                names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs the headless application's loop and the file queue until both are done, and again after the
    // cloud's query has looked at the changes made meanwhile.
    void settle() {
        for (int round = 0; round < 2; ++round) {
            if (store && store->query())
                store->query()->poll();
            documents::testing::settle(host->loop());
        }
    }

    std::shared_ptr<QVDocumentDataController> makeStore() {
        if (!host)
            start(kTablet);
        store = QVDocumentDataController::create();
        store->setDelegate(listener);
        settle();
        return store;
    }

    // The names of the listed sets, in the store's order.
    std::vector<std::string> listed() const {
        std::vector<std::string> names;
        for (const std::filesystem::path& url : store->documentURLs())
            names.push_back(url.filename().string());
        return names;
    }

    // The title of the offer or notice on top, or "" for none.
    static std::string offer() {
        const auto alerts = ui::AlertView::visibleAlerts();
        return alerts.empty() ? "" : alerts.back()->title();
    }
    static std::string offerMessage() {
        const auto alerts = ui::AlertView::visibleAlerts();
        return alerts.empty() ? "" : alerts.back()->message();
    }

    // Chooses the button titled `button` of the offer on top, and lets what it starts settle.
    void answer(const std::string& button) {
        const auto alerts = ui::AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.empty()) << "no offer to answer with " << button;
        const std::shared_ptr<ui::AlertView>& alert = alerts.back();
        int index = ui::AlertView::kNoButton;
        for (int i = 0; i < alert->numberOfButtons(); ++i) {
            if (alert->buttonTitle(i) == button)
                index = i;
        }
        ASSERT_NE(index, ui::AlertView::kNoButton) << "no button " << button;
        alert->dismiss(index, false);
        settle();
    }

    static void setChoice(const CloudChoice& choice) {
        QVDocumentDataController::setiCloudOn(choice.on);
        QVDocumentDataController::setiCloudWasOn(choice.wasOn);
        QVDocumentDataController::setiCloudPrompted(choice.prompted);
    }
    static CloudChoice choice() {
        return {QVDocumentDataController::iCloudOn(), QVDocumentDataController::iCloudWasOn(),
                QVDocumentDataController::iCloudPrompted()};
    }

    core::TemporaryFolder root;
    std::shared_ptr<CountingListener> listener = std::make_shared<CountingListener>();
    std::shared_ptr<QVDocumentDataController> store;

private:
    core::FileLocations m_previousLocations;
};

} // namespace zm::testing
