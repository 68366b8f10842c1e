#include "components/SettingsKit/STKSpecifierValuesViewController.h"

#include "components/SettingsKit/STKSettingsReader.h"
#include "components/SettingsKit/STKSettingsStoreUserDefaults.h"
#include "components/SettingsKit/STKSpecifier.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/NotificationCenter.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <algorithm>

namespace zm {

namespace {

constexpr std::string_view kCellValue = "kCellValue";

} // namespace

std::shared_ptr<STKSpecifierValuesViewController> STKSpecifierValuesViewController::create() {
    return std::shared_ptr<STKSpecifierValuesViewController>(new STKSpecifierValuesViewController);
}

STKSpecifierValuesViewController::~STKSpecifierValuesViewController() {
    stopObserving();
}

std::shared_ptr<STKSettingsStore> STKSpecifierValuesViewController::settingsStore() {
    if (!m_settingsStore)
        m_settingsStore = std::make_shared<STKSettingsStoreUserDefaults>();
    return m_settingsStore;
}

void STKSpecifierValuesViewController::loadView() {
    m_tableView = ui::TableView::create({}, ui::TableView::Style::Grouped);
    m_tableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    const auto self = std::static_pointer_cast<STKSpecifierValuesViewController>(shared_from_this());
    m_tableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
    m_tableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
    setView(m_tableView);
}

void STKSpecifierValuesViewController::updateCheckedItem() {
    m_checkedItem.reset();
    if (!m_currentSpecifier)
        return;
    const std::optional<std::string> key = m_currentSpecifier->key();
    std::optional<core::Value> current = key ? settingsStore()->objectForKey(*key) : std::nullopt;
    if (!current && m_currentSpecifier->defaultValue())
        current = *m_currentSpecifier->defaultValue();
    const core::Array* values = m_currentSpecifier->multipleValues();
    if (!current || !values)
        return;
    const auto found = std::find(values->begin(), values->end(), *current);
    if (found != values->end())
        m_checkedItem = ui::IndexPath{0, int(found - values->begin())};
}

void STKSpecifierValuesViewController::userDefaultsDidChange() {
    if (!m_currentSpecifier)
        return;
    const std::optional<ui::IndexPath> old = m_checkedItem;
    updateCheckedItem();
    if (m_checkedItem != old && m_tableView)
        m_tableView->reloadData();
}

void STKSpecifierValuesViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    if (m_currentSpecifier) {
        setTitle(m_currentSpecifier->title());
        updateCheckedItem();
    }
    m_tableView->reloadData();
    if (m_checkedItem)
        m_tableView->scrollToRow(*m_checkedItem, ui::TableView::ScrollPosition::Middle, false);
}

void STKSpecifierValuesViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    stopObserving();
    // Changes may come from any thread: the list follows them on the main queue.
    m_defaultsObserver = core::UserDefaults::standard().addChangeObserver(
        [weak = std::weak_ptr(std::static_pointer_cast<STKSpecifierValuesViewController>(shared_from_this()))] {
            core::DispatchQueue::main()->async([weak] {
                if (const auto list = weak.lock())
                    list->userDefaultsDidChange();
            });
        });
}

void STKSpecifierValuesViewController::viewDidDisappear(bool animated) {
    ViewController::viewDidDisappear(animated);
    stopObserving();
}

void STKSpecifierValuesViewController::stopObserving() {
    if (m_defaultsObserver)
        core::UserDefaults::standard().removeChangeObserver(*m_defaultsObserver);
    m_defaultsObserver.reset();
}

int STKSpecifierValuesViewController::numberOfRows(ui::TableView&, int) {
    return m_currentSpecifier ? int(m_currentSpecifier->multipleValuesCount()) : 0;
}

std::string STKSpecifierValuesViewController::titleForFooter(ui::TableView&, int) {
    return m_currentSpecifier ? m_currentSpecifier->footerText() : std::string();
}

std::shared_ptr<ui::TableViewCell> STKSpecifierValuesViewController::cellForRow(ui::TableView& tableView,
                                                                              const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::TableViewCell> cell = tableView.dequeueReusableCell(kCellValue);
    if (!cell)
        cell = ui::TableViewCell::create(ui::TableViewCell::Style::Default, std::string(kCellValue));
    const core::Array* titles = m_currentSpecifier->multipleTitles();
    std::string title;
    if (titles && size_t(indexPath.row()) < titles->size()) {
        const core::Value& entry = (*titles)[size_t(indexPath.row())];
        title = entry.stringValue();
        if (m_settingsReader)
            title = m_settingsReader->titleForStringId(title);
    }
    cell->textLabel().setText(title);
    if (indexPath == m_checkedItem)
        selectCell(*cell);
    else
        deselectCell(*cell);
    return cell;
}

void STKSpecifierValuesViewController::selectCell(ui::TableViewCell& cell) {
    cell.setAccessoryType(ui::TableViewCell::Accessory::Checkmark);
    cell.textLabel().setTextColor(core::Color::rgba(0.318f, 0.4f, 0.569f));
}

void STKSpecifierValuesViewController::deselectCell(ui::TableViewCell& cell) {
    cell.setAccessoryType(ui::TableViewCell::Accessory::None);
    cell.textLabel().setTextColor(core::Color::black());
}

void STKSpecifierValuesViewController::didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    if (indexPath == m_checkedItem)
        return;
    if (m_checkedItem)
        if (const std::shared_ptr<ui::TableViewCell> old = tableView.cellForRow(*m_checkedItem))
            deselectCell(*old);
    if (const std::shared_ptr<ui::TableViewCell> chosen = tableView.cellForRow(indexPath))
        selectCell(*chosen);
    m_checkedItem = indexPath;

    const std::optional<std::string> key = m_currentSpecifier->key();
    const core::Array* values = m_currentSpecifier->multipleValues();
    if (!key || !values || size_t(indexPath.row()) >= values->size())
        return;
    const core::Value& value = (*values)[size_t(indexPath.row())];
    settingsStore()->setObject(value, *key);
    settingsStore()->synchronize();
    core::NotificationCenter::defaultCenter().post(std::string(kAppSettingChanged), nullptr,
                                                   core::Dictionary{{*key, value}});
}

} // namespace zm
