#pragma once

#include "components/SettingsKit/STKViewController.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>

namespace zm {

class STKSpecifier;

// The choices of a multiple-value row: one row a title, the current value's marked with a check. A
// tap on another stores its value at once, synchronises the store and posts kAppSettingChanged.
class STKSpecifierValuesViewController : public ui::ViewController,
                                         public STKViewController,
                                         public ui::TableViewDataSource,
                                         public ui::TableViewDelegate {
public:
    static std::shared_ptr<STKSpecifierValuesViewController> create();
    ~STKSpecifierValuesViewController() override;

    ui::TableView* tableView() const { return m_tableView.get(); }
    const std::shared_ptr<STKSpecifier>& currentSpecifier() const { return m_currentSpecifier; }
    void setCurrentSpecifier(std::shared_ptr<STKSpecifier> specifier) { m_currentSpecifier = std::move(specifier); }
    const std::optional<ui::IndexPath>& checkedItem() const { return m_checkedItem; }

    std::shared_ptr<STKSettingsReader> settingsReader() override { return m_settingsReader; }
    void setSettingsReader(std::shared_ptr<STKSettingsReader> reader) override { m_settingsReader = std::move(reader); }
    std::shared_ptr<STKSettingsStore> settingsStore() override;
    void setSettingsStore(std::shared_ptr<STKSettingsStore> store) override { m_settingsStore = std::move(store); }

    void updateCheckedItem();
    void userDefaultsDidChange();

    int numberOfRows(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    std::string titleForFooter(ui::TableView& tableView, int section) override;
    void didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

protected:
    STKSpecifierValuesViewController() = default;

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    static void selectCell(ui::TableViewCell& cell);
    static void deselectCell(ui::TableViewCell& cell);
    void stopObserving();

    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<STKSpecifier> m_currentSpecifier;
    std::optional<ui::IndexPath> m_checkedItem;
    std::shared_ptr<STKSettingsReader> m_settingsReader;
    std::shared_ptr<STKSettingsStore> m_settingsStore;
    std::optional<core::UserDefaults::ObserverId> m_defaultsObserver;
};

} // namespace zm
