#pragma once

#include "components/NZTextStylePicker/NZFontSelectTableViewController.h"
#include "components/SettingsKit/STKSettingsDelegate.h"
#include "components/SettingsKit/STKViewController.h"
#include "platform/core/NotificationCenter.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/MailComposer.h"
#include "platform/ui/TableViewController.h"
#include "platform/ui/TextField.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace ui {
class Control;
}

namespace zm {

class STKSpecifier;
class STKSpecifierValuesViewController;

// A settings screen: a grouped table built from a settings file whose rows edit values in a settings
// store. Every change is written to the store at once and announced with kAppSettingChanged; rows
// open choice lists, child settings screens, web pages, mail and the font list, and the delegate
// handles custom rows, buttons and mail details. Done synchronises the store and tells the delegate.
//
// Main thread only.
class STKAppSettingsViewController : public ui::TableViewController,
                                     public STKViewController,
                                     public ui::TextFieldDelegate,
                                     public ui::MailComposerDelegate,
                                     public NZFontSelectTableViewControllerDelegate {
public:
    static std::shared_ptr<STKAppSettingsViewController> create();
    ~STKAppSettingsViewController() override;

    const std::weak_ptr<STKSettingsDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<STKSettingsDelegate> delegate) { m_delegate = std::move(delegate); }
    // The settings file's name ("Root" until set). Setting it reads the file anew, with no hidden keys.
    const std::string& file() const { return m_file; }
    void setFile(std::string file);
    const std::set<std::string, std::less<>>& hiddenKeys() const { return m_hiddenKeys; }
    void setHiddenKeys(std::set<std::string, std::less<>> keys, bool animated = false);
    bool showDoneButton() const { return m_showDoneButton; }
    void setShowDoneButton(bool show) { m_showDoneButton = show; }
    // Where settings files are looked for (the program's resources unless set); child panes share it.
    const std::filesystem::path& applicationBundle() const { return m_applicationBundle; }
    void setApplicationBundle(std::filesystem::path bundle);
    bool showCreditsFooter() const { return m_showCreditsFooter; }
    void setShowCreditsFooter(bool show) { m_showCreditsFooter = show; }
    ui::TextField* currentFirstResponder() const { return m_currentFirstResponder.lock().get(); }

    std::shared_ptr<STKSettingsReader> settingsReader() override;
    void setSettingsReader(std::shared_ptr<STKSettingsReader> reader) override;
    std::shared_ptr<STKSettingsStore> settingsStore() override;
    void setSettingsStore(std::shared_ptr<STKSettingsStore> store) override;

    bool synchronizeSettings();
    // The Done button.
    void dismiss();
    // Reloads the table half a second later.
    void reload();
    // Reloads the rows whose keys changed in the standard user defaults since the last look.
    void userDefaultsDidChange();
    // A font chosen on the family list that a font-selector row opened: its name is stored under the
    // row's key, through this screen's store, announced and shown.
    void fontSelectTableViewController(NZFontSelectTableViewController& list, const gfx::Font& font) override;

    // Forgets what the screens of the process last saw of the user defaults.
    static void resetUserDefaultsSnapshot();

    // The table.
    int numberOfSections(ui::TableView& tableView) override;
    int numberOfRows(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    std::string titleForHeader(ui::TableView& tableView, int section) override;
    std::string titleForFooter(ui::TableView& tableView, int section) override;
    std::optional<float> heightForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    std::optional<float> heightForHeader(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::View> viewForHeader(ui::TableView& tableView, int section) override;
    std::optional<ui::IndexPath> willSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    void mailComposerDidFinish(ui::MailComposer& composer, ui::MailComposeResult result,
                               const std::optional<core::Error>& error) override;

protected:
    STKAppSettingsViewController();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    std::shared_ptr<ui::TableViewCell> makeCell(const STKSpecifier& specifier);
    void fillCell(ui::TableViewCell& cell, const STKSpecifier& specifier);
    std::optional<core::Value> storeValue(const STKSpecifier& specifier);
    void toggledValue(ui::Control& sender);
    void sliderChangedValue(ui::Control& sender);
    void textChanged(ui::Control& sender);
    void postChange(const std::string& key, core::Value value);
    void openChildPane(const STKSpecifier& specifier);
    void tapButton(const STKSpecifier& specifier);
    void composeMail(const STKSpecifier& specifier);
    void setHiddenKeysAnimated(std::set<std::string, std::less<>> keys);
    void stopObserving();
    std::shared_ptr<STKSettingsDelegate> delegateFor(STKSettingsMessage message) const;
    std::shared_ptr<STKAppSettingsViewController> self();

    std::weak_ptr<STKSettingsDelegate> m_delegate;
    std::string m_file = "Root";
    std::filesystem::path m_applicationBundle;
    std::shared_ptr<STKSettingsReader> m_settingsReader;
    std::shared_ptr<STKSettingsStore> m_settingsStore;
    std::set<std::string, std::less<>> m_hiddenKeys;
    bool m_showDoneButton = true;
    bool m_showCreditsFooter = true;
    // The reused choice list and child settings screen.
    std::shared_ptr<STKSpecifierValuesViewController> m_valuesList;
    std::shared_ptr<STKAppSettingsViewController> m_childPane;
    std::weak_ptr<ui::TextField> m_currentFirstResponder;
    std::optional<core::UserDefaults::ObserverId> m_defaultsObserver;
    std::vector<core::NotificationCenter::Observation> m_applicationObservations;
    unsigned m_reloadGeneration = 0;
};

} // namespace zm
