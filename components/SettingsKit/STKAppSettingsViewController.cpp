#include "components/SettingsKit/STKAppSettingsViewController.h"

#include "components/SettingsKit/STKMailNotConfigured.h"
#include "components/SettingsKit/STKSettingsCells.h"
#include "components/SettingsKit/STKSettingsReader.h"
#include "components/SettingsKit/STKSettingsStoreUserDefaults.h"
#include "components/SettingsKit/STKSpecifierValuesViewController.h"
#include "platform/core/ApplicationEvents.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Localization.h"
#include "platform/core/Log.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageLibrary.h"
#include "platform/ui/Device.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/UrlOpener.h"

#include <algorithm>
#include <cassert>
#include <functional>
#include <map>

namespace zm {

namespace {

constexpr std::string_view kCredits = "Powered by SettingsKit";
constexpr core::Size kSwitchSize{79, 27};

// What the screens of the process last saw of the standard user defaults.
std::optional<core::Dictionary>& userDefaultsSnapshot() {
    static std::optional<core::Dictionary> snapshot;
    return snapshot;
}

bool isUnselectable(std::string_view type) {
    return type == kSTKPSToggleSwitchSpecifier || type == kSTKPSSliderSpecifier;
}

std::string textOf(const core::Value& value) {
    return value.stringValue();
}

// Whether one of `keys` is the key of a group row of the reader's file.
bool namesAGroup(const STKSettingsReader& reader, const std::set<std::string, std::less<>>& keys) {
    const core::Value* rows = reader.settingsDictionary() ? reader.settingsDictionary()->find("PreferenceSpecifiers")
                                                          : nullptr;
    if (!rows || !rows->asArray())
        return false;
    return std::ranges::any_of(*rows->asArray(), [&keys](const core::Value& row) {
        const core::Dictionary* dictionary = row.asDictionary();
        const core::Value* type = dictionary ? dictionary->find("Type") : nullptr;
        const core::Value* key = dictionary ? dictionary->find("Key") : nullptr;
        return type && type->stringValue() == kSTKPSGroupSpecifier && key && keys.contains(key->stringValue());
    });
}

} // namespace

std::shared_ptr<STKAppSettingsViewController> STKAppSettingsViewController::create() {
    return std::shared_ptr<STKAppSettingsViewController>(new STKAppSettingsViewController);
}

STKAppSettingsViewController::STKAppSettingsViewController()
    : TableViewController(ui::TableView::Style::Grouped)
    , m_applicationBundle(core::FileLocations::shared().resources) {}

STKAppSettingsViewController::~STKAppSettingsViewController() {
    stopObserving();
}

std::shared_ptr<STKAppSettingsViewController> STKAppSettingsViewController::self() {
    return std::static_pointer_cast<STKAppSettingsViewController>(shared_from_this());
}

void STKAppSettingsViewController::resetUserDefaultsSnapshot() {
    userDefaultsSnapshot().reset();
}

std::shared_ptr<STKSettingsDelegate> STKAppSettingsViewController::delegateFor(STKSettingsMessage message) const {
    std::shared_ptr<STKSettingsDelegate> delegate = m_delegate.lock();
    return delegate && delegate->respondsTo(message) ? delegate : nullptr;
}

// Reader and store.

std::shared_ptr<STKSettingsReader> STKAppSettingsViewController::settingsReader() {
    if (!m_settingsReader) {
        m_settingsReader = std::make_shared<STKSettingsReader>(m_file, m_applicationBundle);
        m_settingsReader->setHiddenKeys(m_hiddenKeys);
    }
    return m_settingsReader;
}

void STKAppSettingsViewController::setSettingsReader(std::shared_ptr<STKSettingsReader> reader) {
    m_settingsReader = std::move(reader);
}

std::shared_ptr<STKSettingsStore> STKAppSettingsViewController::settingsStore() {
    if (!m_settingsStore)
        m_settingsStore = std::make_shared<STKSettingsStoreUserDefaults>();
    return m_settingsStore;
}

void STKAppSettingsViewController::setSettingsStore(std::shared_ptr<STKSettingsStore> store) {
    m_settingsStore = std::move(store);
}

void STKAppSettingsViewController::setFile(std::string file) {
    m_file = std::move(file);
    m_settingsReader = nullptr;
    m_hiddenKeys.clear();
    if (ui::TableView* table = isViewLoaded() ? tableView() : nullptr) {
        table->setContentOffset({0, 0});
        table->reloadData();
    }
}

void STKAppSettingsViewController::setApplicationBundle(std::filesystem::path bundle) {
    m_applicationBundle = std::move(bundle);
    m_settingsReader = nullptr;
    if (m_childPane)
        m_childPane->setApplicationBundle(m_applicationBundle);
}

std::optional<core::Value> STKAppSettingsViewController::storeValue(const STKSpecifier& specifier) {
    const std::optional<std::string> key = specifier.key();
    return key ? settingsStore()->objectForKey(*key) : std::nullopt;
}

bool STKAppSettingsViewController::synchronizeSettings() {
    return settingsStore()->synchronize();
}

void STKAppSettingsViewController::dismiss() {
    synchronizeSettings();
    if (const std::shared_ptr<STKSettingsDelegate> delegate = m_delegate.lock())
        delegate->settingsViewControllerDidEnd(*this);
}

void STKAppSettingsViewController::reload() {
    core::DispatchQueue::main()->after(core::fromSeconds(0.5), [weak = std::weak_ptr(self()),
                                                                generation = m_reloadGeneration] {
        const auto screen = weak.lock();
        if (screen && screen->m_reloadGeneration == generation && screen->isViewLoaded())
            screen->tableView()->reloadData();
    });
}

// Lifecycle.

void STKAppSettingsViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    tableView()->setBackgroundColor(core::Color::rgb255(239, 239, 244));
    // A tap elsewhere on the table ends the editing of a field; the rows still get the tap.
    auto endEditing = ui::TapGestureRecognizer::create([weak = std::weak_ptr(self())](ui::GestureRecognizer& tap) {
        const auto screen = weak.lock();
        const std::shared_ptr<ui::TextField> field = screen ? screen->m_currentFirstResponder.lock() : nullptr;
        if (!field || !field->isFirstResponder() || field->bounds().contains(tap.locationInView(field.get())))
            return;
        field->resignFirstResponder();
        screen->m_currentFirstResponder.reset();
    });
    endEditing->setCancelsTouchesInView(false);
    tableView()->addGestureRecognizer(std::move(endEditing));
}

void STKAppSettingsViewController::viewWillAppear(bool animated) {
    TableViewController::viewWillAppear(animated);
    ui::TableView& table = *tableView();
    // The row chosen before a list or pane opened shows its new value, and lets go of its highlight.
    if (const std::optional<ui::IndexPath> selected = table.indexPathForSelectedRow()) {
        table.reloadRows({*selected});
        table.selectRow(*selected, false);
        table.deselectRow(*selected, animated);
    }
    setRightBarButtonItem(m_showDoneButton ? ui::BarButtonItem::create(ui::BarButtonItem::SystemItem::Done,
                                                                       [weak = std::weak_ptr(self())](ui::BarButtonItem&) {
                                                                           if (const auto screen = weak.lock())
                                                                               screen->dismiss();
                                                                       })
                                           : nullptr);
    if (title().empty())
        setTitle(core::Localization::main().localizedString("Settings"));
    if (std::dynamic_pointer_cast<STKSettingsStoreUserDefaults>(settingsStore())) {
        stopObserving();
        m_defaultsObserver = core::UserDefaults::standard().addChangeObserver([weak = std::weak_ptr(self())] {
            core::DispatchQueue::main()->async([weak] {
                if (const auto screen = weak.lock())
                    screen->userDefaultsDidChange();
            });
        });
        userDefaultsDidChange();
    }
}

void STKAppSettingsViewController::viewDidAppear(bool animated) {
    TableViewController::viewDidAppear(animated);
    m_applicationObservations.clear();
    core::NotificationCenter& center = core::NotificationCenter::defaultCenter();
    const auto observe = [&](std::string_view name, std::function<void(STKAppSettingsViewController&)> handler) {
        m_applicationObservations.push_back(
            center.addObserver(std::string(name), nullptr,
                               [weak = std::weak_ptr(self()), handler = std::move(handler)](const core::Notification&) {
                                   if (const auto screen = weak.lock())
                                       handler(*screen);
                               }));
    };
    observe(core::kApplicationDidEnterBackgroundNotification, &STKAppSettingsViewController::synchronizeSettings);
    observe(core::kApplicationWillEnterForegroundNotification, &STKAppSettingsViewController::reload);
    observe(core::kApplicationWillTerminateNotification, &STKAppSettingsViewController::synchronizeSettings);
}

void STKAppSettingsViewController::viewWillDisappear(bool animated) {
    TableViewController::viewWillDisappear(animated);
    ++m_reloadGeneration; // a pending reload is dropped
}

void STKAppSettingsViewController::viewDidDisappear(bool animated) {
    TableViewController::viewDidDisappear(animated);
    stopObserving();
    if (const std::shared_ptr<ui::TextField> field = m_currentFirstResponder.lock())
        field->resignFirstResponder();
}

void STKAppSettingsViewController::stopObserving() {
    if (m_defaultsObserver)
        core::UserDefaults::standard().removeChangeObserver(*m_defaultsObserver);
    m_defaultsObserver.reset();
    m_applicationObservations.clear();
}

void STKAppSettingsViewController::userDefaultsDidChange() {
    if (!isViewLoaded())
        return;
    const core::Dictionary defaults = core::UserDefaults::standard().dictionaryRepresentation();
    const std::optional<core::Dictionary>& snapshot = userDefaultsSnapshot();
    std::vector<ui::IndexPath> changed;
    const std::shared_ptr<STKSettingsReader> reader = settingsReader();
    for (const core::Dictionary::Entry& entry : defaults.entries()) {
        const core::Value* seen = snapshot ? snapshot->find(entry.key) : nullptr;
        if (seen && *seen == entry.value)
            continue;
        const std::optional<ui::IndexPath> indexPath = reader->indexPathForKey(entry.key);
        if (indexPath && reader->specifierForKey(entry.key)->type() != kSTKCustomViewSpecifier)
            changed.push_back(*indexPath);
    }
    userDefaultsSnapshot() = defaults;
    // A field being edited keeps what is being typed.
    ui::TableView& table = *tableView();
    for (const std::shared_ptr<ui::TableViewCell>& cell : table.visibleCells()) {
        const auto* textCell = dynamic_cast<const STKPSTextFieldSpecifierViewCell*>(cell.get());
        if (!textCell || !textCell->textField().isFirstResponder())
            continue;
        if (const std::optional<ui::IndexPath> editing = table.indexPathForCell(*cell))
            std::erase(changed, *editing);
    }
    if (!changed.empty())
        table.reloadRows(changed);
}

// Table structure.

int STKAppSettingsViewController::numberOfSections(ui::TableView&) {
    return settingsReader()->numberOfSections();
}

int STKAppSettingsViewController::numberOfRows(ui::TableView&, int section) {
    return settingsReader()->numberOfRowsForSection(section);
}

std::optional<float> STKAppSettingsViewController::heightForRow(ui::TableView& tableView,
                                                                const ui::IndexPath& indexPath) {
    const std::shared_ptr<STKSpecifier> specifier = settingsReader()->specifierForIndexPath(indexPath);
    if (!specifier || specifier->type() != kSTKCustomViewSpecifier)
        return std::nullopt;
    const std::shared_ptr<STKSettingsDelegate> delegate = delegateFor(STKSettingsMessage::HeightForSpecifier);
    return delegate ? delegate->heightForSpecifier(tableView, *specifier) : 0.0f;
}

std::string STKAppSettingsViewController::titleForHeader(ui::TableView&, int section) {
    return settingsReader()->titleForSection(section).value_or("");
}

std::shared_ptr<ui::View> STKAppSettingsViewController::viewForHeader(ui::TableView& tableView, int section) {
    const std::shared_ptr<STKSettingsDelegate> delegate = delegateFor(STKSettingsMessage::ViewForHeader);
    return delegate ? delegate->viewForHeader(*this, tableView, section) : nullptr;
}

std::optional<float> STKAppSettingsViewController::heightForHeader(ui::TableView& tableView, int section) {
    if (viewForHeader(tableView, section)) {
        const std::shared_ptr<STKSettingsDelegate> delegate = delegateFor(STKSettingsMessage::HeightForHeader);
        if (const float height = delegate ? delegate->heightForHeader(*this, tableView, section) : 0; height != 0)
            return height;
    }
    const std::string title = titleForHeader(tableView, section);
    if (title.empty())
        return 0.0f;
    const float width = tableView.frame().width() - 38;
    const core::Size size = gfx::measureText(gfx::AttributedText(title, gfx::Font::boldSystem(17)), std::max(1.0f, width));
    return size.height + 15;
}

std::string STKAppSettingsViewController::titleForFooter(ui::TableView&, int section) {
    std::string footer = settingsReader()->footerTextForSection(section).value_or("");
    if (m_showCreditsFooter && section == settingsReader()->numberOfSections() - 1)
        footer = footer.empty() ? std::string(kCredits) : footer + "\n\n" + std::string(kCredits);
    return footer;
}

// Cells.

std::shared_ptr<ui::TableViewCell> STKAppSettingsViewController::makeCell(const STKSpecifier& specifier) {
    using Style = ui::TableViewCell::Style;
    using Accessory = ui::TableViewCell::Accessory;
    const std::string type = specifier.type();
    std::shared_ptr<ui::TableViewCell> cell;
    if (type == kSTKPSToggleSwitchSpecifier) {
        cell = ui::TableViewCell::create(Style::Default, type);
        auto toggle = STKSwitch::create({{}, kSwitchSize});
        toggle->addTarget(ui::ControlEvent::ValueChanged, [weak = std::weak_ptr(self())](ui::Control& sender) {
            if (const auto screen = weak.lock())
                screen->toggledValue(sender);
        });
        cell->setAccessoryView(toggle);
        cell->setSelectionStyle(ui::TableViewCell::SelectionStyle::None);
    } else if (type == kSTKPSMultiValueSpecifier || type == kSTKPSChildPaneSpecifier || type == kSTKMailComposeSpecifier) {
        cell = STKPSTitleValueSpecifierViewCell::create(type);
        cell->setAccessoryType(Accessory::DisclosureIndicator);
    } else if (type == kSTKPSTitleValueSpecifier) {
        cell = STKPSTitleValueSpecifierViewCell::create(type);
    } else if (type == kSTKPSTextFieldSpecifier) {
        auto textCell = STKPSTextFieldSpecifierViewCell::create(type);
        textCell->textField().addTarget(ui::ControlEvent::EditingChanged,
                                        [weak = std::weak_ptr(self())](ui::Control& sender) {
                                            if (const auto screen = weak.lock())
                                                screen->textChanged(sender);
                                        });
        cell = std::move(textCell);
    } else if (type == kSTKPSSliderSpecifier) {
        auto sliderCell = STKPSSliderSpecifierViewCell::create(type);
        sliderCell->slider().addTarget(ui::ControlEvent::ValueChanged,
                                       [weak = std::weak_ptr(self())](ui::Control& sender) {
                                           if (const auto screen = weak.lock())
                                               screen->sliderChangedValue(sender);
                                       });
        cell = std::move(sliderCell);
    } else if (type == kSTKFontSelectorSpecifier) {
        cell = ui::TableViewCell::create(Style::Value, type);
    } else {
        cell = ui::TableViewCell::create(Style::Default, type);
    }
    return cell;
}

std::shared_ptr<ui::TableViewCell> STKAppSettingsViewController::cellForRow(ui::TableView& tableView,
                                                                          const ui::IndexPath& indexPath) {
    const std::shared_ptr<STKSpecifier> specifier = settingsReader()->specifierForIndexPath(indexPath);
    if (specifier->type() == kSTKCustomViewSpecifier) {
        if (const auto delegate = delegateFor(STKSettingsMessage::CellForSpecifier)) {
            std::shared_ptr<ui::TableViewCell> cell = delegate->cellForSpecifier(tableView, *specifier);
            assert(cell && "delegate must return a UITableViewCell for custom cell types");
            if (cell)
                return cell;
        }
    }
    std::shared_ptr<ui::TableViewCell> cell = tableView.dequeueReusableCell(specifier->type());
    if (!cell)
        cell = makeCell(*specifier);
    fillCell(*cell, *specifier);
    return cell;
}

void STKAppSettingsViewController::fillCell(ui::TableViewCell& cell, const STKSpecifier& specifier) {
    const std::string type = specifier.type();
    const std::optional<core::Value> stored = storeValue(specifier);
    const core::Value* fallback = specifier.defaultValue();
    const std::optional<core::Value> value = stored ? stored : (fallback ? std::optional(*fallback) : std::nullopt);
    ui::Label& title = cell.textLabel();
    ui::Label& detail = cell.detailTextLabel();
    title.setText(specifier.title());
    detail.setText({});
    cell.setUserInteractionEnabled(true);

    if (type == kSTKPSToggleSwitchSpecifier) {
        auto& toggle = static_cast<STKSwitch&>(*cell.accessoryView());
        bool on = specifier.defaultBoolValue();
        if (stored) {
            const core::Value* onValue = specifier.trueValue();
            const core::Value* offValue = specifier.falseValue();
            on = onValue && *stored == *onValue ? true : offValue && *stored == *offValue ? false : stored->boolValue();
        }
        toggle.setOn(on);
        toggle.key = specifier.key().value_or("");
    } else if (type == kSTKPSMultiValueSpecifier) {
        if (value)
            detail.setText(specifier.titleForCurrentValue(*value).value_or(""));
    } else if (type == kSTKPSTitleValueSpecifier) {
        if (value) {
            const bool hasLists = specifier.specifierDict().find("Values") || specifier.specifierDict().find("Titles");
            detail.setText(hasLists ? specifier.titleForCurrentValue(*value).value_or("") : textOf(*value));
        }
        cell.setUserInteractionEnabled(false);
    } else if (type == kSTKPSTextFieldSpecifier) {
        STKTextField& field = static_cast<STKPSTextFieldSpecifierViewCell&>(cell).textField();
        field.setText(stored ? textOf(*stored) : specifier.defaultStringValue().value_or(""));
        field.key = specifier.key().value_or("");
        field.setDelegate(std::static_pointer_cast<ui::TextFieldDelegate>(self()));
        field.setSecureTextEntry(specifier.isSecure());
        field.keyboardType = specifier.keyboardType();
        field.autocapitalizationType = specifier.autocapitalizationType();
        field.autocorrectionType = specifier.isSecure() ? STKAutocorrectionType::No : specifier.autoCorrectionType();
        field.setTextAlignment(specifier.textAlignment());
        field.setAdjustsFontSizeToFitWidth(specifier.adjustsFontSizeToFitWidth());
    } else if (type == kSTKPSSliderSpecifier) {
        auto& sliderCell = static_cast<STKPSSliderSpecifierViewCell&>(cell);
        const std::shared_ptr<STKSettingsReader> reader = settingsReader();
        const auto imageAt = [&reader](const std::optional<std::string>& name) -> std::shared_ptr<const gfx::Image> {
            if (!name || name->empty())
                return nullptr;
            const std::filesystem::path path = reader->pathForImageNamed(*name);
            return gfx::ImageLibrary(path.parent_path(), ui::Device::current().scale).named(path.filename().string());
        };
        sliderCell.minImage().setImage(imageAt(specifier.minimumValueImage()));
        sliderCell.maxImage().setImage(imageAt(specifier.maximumValueImage()));
        STKSlider& slider = sliderCell.slider();
        slider.setMinimumValue(specifier.minimumValue());
        slider.setMaximumValue(specifier.maximumValue());
        slider.setValue(value ? value->floatValue() : 0);
        slider.key = specifier.key().value_or("");
        cell.setNeedsLayout();
    } else if (type == kSTKOpenURLSpecifier || type == kSTKMailComposeSpecifier) {
        if (fallback)
            detail.setText(textOf(*fallback));
    } else if (type == kSTKButtonSpecifier) {
        if (stored && stored->asString())
            title.setText(settingsReader()->titleForStringId(*stored->asString()));
    } else if (type == kSTKFontSelectorSpecifier) {
        detail.setText(stored ? textOf(*stored) : specifier.defaultStringValue().value_or(""));
    }

    cell.imageView().setImage(specifier.cellImage());
    cell.imageView().setHighlightedImage(specifier.highlightedCellImage());
    const gfx::TextAlignment alignment = specifier.textAlignment();
    if (type != kSTKPSMultiValueSpecifier && type != kSTKPSTitleValueSpecifier && type != kSTKPSTextFieldSpecifier)
        title.setTextAlignment(alignment);
    detail.setTextAlignment(alignment);
    title.setAdjustsFontSizeToFitWidth(specifier.adjustsFontSizeToFitWidth());
    detail.setAdjustsFontSizeToFitWidth(specifier.adjustsFontSizeToFitWidth());
}

// Value changes.

void STKAppSettingsViewController::postChange(const std::string& key, core::Value value) {
    core::NotificationCenter::defaultCenter().post(std::string(kAppSettingChanged), nullptr,
                                                   core::Dictionary{{key, std::move(value)}});
}

void STKAppSettingsViewController::toggledValue(ui::Control& sender) {
    auto& toggle = static_cast<STKSwitch&>(sender);
    const std::shared_ptr<STKSpecifier> specifier = settingsReader()->specifierForKey(toggle.key);
    if (!specifier)
        return;
    const core::Value* stored = toggle.isOn() ? specifier->trueValue() : specifier->falseValue();
    if (stored)
        settingsStore()->setObject(*stored, toggle.key);
    else
        settingsStore()->setBool(toggle.isOn(), toggle.key);
    postChange(toggle.key, settingsStore()->objectForKey(toggle.key).value_or(core::Value()));
}

void STKAppSettingsViewController::sliderChangedValue(ui::Control& sender) {
    auto& slider = static_cast<STKSlider&>(sender);
    settingsStore()->setFloat(slider.value(), slider.key);
    postChange(slider.key, slider.value());
}

void STKAppSettingsViewController::textChanged(ui::Control& sender) {
    auto& field = static_cast<STKTextField&>(sender);
    settingsStore()->setObject(field.text(), field.key);
    postChange(field.key, field.text());
}

void STKAppSettingsViewController::fontSelectTableViewController(NZFontSelectTableViewController& list,
                                                                 const gfx::Font& font) {
    const std::optional<std::string> key = list.specifier() ? list.specifier()->key() : std::nullopt;
    if (!key)
        return;
    // Through the screen's own store, so that the choice is kept, shown and announced whatever the store.
    const std::string name(font.name());
    settingsStore()->setObject(name, *key);
    settingsStore()->synchronize();
    postChange(*key, name);
    if (const std::optional<ui::IndexPath> indexPath = settingsReader()->indexPathForKey(*key); indexPath && isViewLoaded())
        tableView()->reloadRows({*indexPath});
}

// Selection.

std::optional<ui::IndexPath> STKAppSettingsViewController::willSelectRow(ui::TableView&, const ui::IndexPath& indexPath) {
    const std::shared_ptr<STKSpecifier> specifier = settingsReader()->specifierForIndexPath(indexPath);
    if (!specifier || isUnselectable(specifier->type()))
        return std::nullopt;
    return indexPath;
}

void STKAppSettingsViewController::didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) {
    const std::shared_ptr<STKSpecifier> specifier = settingsReader()->specifierForIndexPath(indexPath);
    const std::string type = specifier->type();
    assert(!isUnselectable(type));
    ui::NavigationController* navigation = navigationController();
    if (type == kSTKPSMultiValueSpecifier) {
        if (!m_valuesList)
            m_valuesList = STKSpecifierValuesViewController::create();
        m_valuesList->setCurrentSpecifier(specifier);
        m_valuesList->setSettingsReader(settingsReader());
        m_valuesList->setSettingsStore(settingsStore());
        if (navigation)
            navigation->pushViewController(m_valuesList, true);
    } else if (type == kSTKPSTextFieldSpecifier) {
        if (const auto cell = std::dynamic_pointer_cast<STKPSTextFieldSpecifierViewCell>(tableView.cellForRow(indexPath)))
            cell->textField().becomeFirstResponder();
    } else if (type == kSTKPSChildPaneSpecifier) {
        openChildPane(*specifier);
        if (!specifier->viewControllerClass() && !specifier->file())
            tableView.deselectRow(indexPath, true);
    } else if (type == kSTKOpenURLSpecifier) {
        tableView.deselectRow(indexPath, true);
        if (const std::optional<std::string> address = specifier->file())
            ui::UrlOpener::shared().open(*address);
    } else if (type == kSTKButtonSpecifier) {
        tableView.deselectRow(indexPath, true);
        tapButton(*specifier);
    } else if (type == kSTKMailComposeSpecifier) {
        tableView.deselectRow(indexPath, true);
        composeMail(*specifier);
    } else if (type == kSTKFontSelectorSpecifier) {
        // The family list, with no font marked; the choice comes back through fontSelectTableViewController.
        const std::shared_ptr<NZFontSelectTableViewController> families = NZFontSelectTableViewController::create();
        families->setDelegate(self());
        families->setSpecifier(specifier);
        if (navigation)
            navigation->pushViewController(families, true);
    } else if (type == kSTKCustomViewSpecifier && delegateFor(STKSettingsMessage::DidSelectCustomViewSpecifier)) {
        delegateFor(STKSettingsMessage::DidSelectCustomViewSpecifier)->didSelectCustomViewSpecifier(*this, tableView, *specifier);
    } else {
        tableView.deselectRow(indexPath, false);
    }
}

void STKAppSettingsViewController::openChildPane(const STKSpecifier& specifier) {
    ui::NavigationController* navigation = navigationController();
    if (const std::optional<std::string> className = specifier.viewControllerClass()) {
        core::Result<ui::ClassRegistry::Made> made = ui::ClassRegistry::shared().make(*className);
        if (!made || !made->controller)
            return;
        const std::shared_ptr<ui::ViewController> screen = made->controller;
        if (const STKNamedOperations::Initializer* initializer = specifier.viewControllerSelector())
            (*initializer)(*screen, specifier.file().value_or(""), specifier.key().value_or(""));
        if (auto* kitScreen = dynamic_cast<STKViewController*>(screen.get()))
            kitScreen->setSettingsStore(settingsStore());
        if (auto* settingsScreen = dynamic_cast<STKAppSettingsViewController*>(screen.get()))
            settingsScreen->setDelegate(m_delegate);
        if (navigation)
            navigation->pushViewController(screen, true);
        return;
    }
    const std::optional<std::string> file = specifier.file();
    if (!file)
        return;
    if (!m_childPane) {
        m_childPane = create();
        m_childPane->setShowDoneButton(false);
        m_childPane->setSettingsStore(settingsStore());
        m_childPane->setDelegate(m_delegate);
        m_childPane->setApplicationBundle(m_applicationBundle);
    }
    m_childPane->setFile(*file);
    m_childPane->setHiddenKeys(m_hiddenKeys);
    m_childPane->setTitle(specifier.title());
    m_childPane->setShowCreditsFooter(false);
    if (navigation)
        navigation->pushViewController(m_childPane, true);
}

void STKAppSettingsViewController::tapButton(const STKSpecifier& specifier) {
    if (const auto delegate = delegateFor(STKSettingsMessage::ButtonTappedForSpecifier)) {
        delegate->buttonTappedForSpecifier(*this, specifier);
    } else if (const auto older = delegateFor(STKSettingsMessage::ButtonTappedForKey)) {
        core::log(core::LogLevel::Warning, "SettingsKit Warning: -settingsViewController:buttonTappedForKey: is "
                                           "deprecated. Please use -settingsViewController:buttonTappedForSpecifier:");
        older->buttonTappedForKey(*this, specifier.key().value_or(""));
    } else if (const std::optional<std::string> className = specifier.buttonClass()) {
        const std::optional<std::string> action = specifier.buttonAction();
        const STKNamedOperations::ClassOperation* operation =
            action ? STKNamedOperations::shared().classOperation(*className, *action) : nullptr;
        if (!operation)
            return;
        (*operation)(*this, specifier.key().value_or(""));
        core::log(core::LogLevel::Warning,
                  "SettingsKit Warning: Using STKButtonSpecifier without implementing the delegate method is deprecated");
    }
}

void STKAppSettingsViewController::composeMail(const STKSpecifier& specifier) {
    if (!ui::MailComposer::canSendMail()) {
        showMailNotConfigured();
        return;
    }
    auto composer = ui::MailComposer::create();
    const core::Dictionary& row = specifier.specifierDict();
    if (row.find("STKMailComposeSubject"))
        composer->setSubject(specifier.localizedObjectForKey("STKMailComposeSubject")->stringValue());
    const auto recipients = [&row](std::string_view key) {
        std::vector<std::string> list;
        if (const core::Value* value = row.find(key); value && value->asArray())
            for (const core::Value& recipient : *value->asArray())
                list.push_back(recipient.stringValue());
        return list;
    };
    composer->setToRecipients(recipients("STKMailComposeToRecipents"));
    composer->setCcRecipients(recipients("STKMailComposeCcRecipents"));
    composer->setBccRecipients(recipients("STKMailComposeBccRecipents"));
    if (row.find("STKMailComposeBody")) {
        const auto delegate = delegateFor(STKSettingsMessage::MailComposeBody);
        const std::string body = delegate ? delegate->mailComposeBodyForSpecifier(*this, specifier)
                                          : specifier.localizedObjectForKey("STKMailComposeBody")->stringValue();
        const core::Value* html = row.find("STKMailComposeBodyIsHTML");
        composer->setMessageBody(body, html && html->boolValue());
    }
    std::shared_ptr<ui::ViewController> presenter;
    if (const auto delegate = delegateFor(STKSettingsMessage::ViewControllerForMailCompose))
        presenter = delegate->viewControllerForMailComposeView(*this, specifier);
    if (!presenter)
        presenter = self();
    if (auto* mailDelegate = dynamic_cast<ui::MailComposerDelegate*>(presenter.get()))
        composer->setDelegate(std::shared_ptr<ui::MailComposerDelegate>(presenter, mailDelegate));
    presenter->presentViewController(composer, true);
}

void STKAppSettingsViewController::mailComposerDidFinish(ui::MailComposer& composer, ui::MailComposeResult result,
                                                         const std::optional<core::Error>& error) {
    if (const auto delegate = delegateFor(STKSettingsMessage::MailComposeDidFinish))
        delegate->mailComposeControllerDidFinish(*this, composer, result, error);
    dismissViewController(true);
}

// Text editing.

void STKAppSettingsViewController::textFieldDidBeginEditing(ui::TextField& field) {
    m_currentFirstResponder = std::static_pointer_cast<ui::TextField>(field.shared_from_this());
}

bool STKAppSettingsViewController::textFieldShouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    m_currentFirstResponder.reset();
    return true;
}

// Hidden keys.

void STKAppSettingsViewController::setHiddenKeys(std::set<std::string, std::less<>> keys, bool animated) {
    if (keys != m_hiddenKeys) {
        if (animated && isViewLoaded()) {
            setHiddenKeysAnimated(keys);
        } else {
            m_hiddenKeys = keys;
            if (m_settingsReader)
                m_settingsReader->setHiddenKeys(m_hiddenKeys);
            if (isViewLoaded())
                tableView()->reloadData();
        }
    }
    if (m_childPane)
        m_childPane->setHiddenKeys(std::move(keys), animated);
}

void STKAppSettingsViewController::setHiddenKeysAnimated(std::set<std::string, std::less<>> keys) {
    const std::shared_ptr<STKSettingsReader> reader = settingsReader();
    ui::TableView& table = *tableView();
    std::set<std::string, std::less<>> toHide, toShow;
    std::set_difference(keys.begin(), keys.end(), m_hiddenKeys.begin(), m_hiddenKeys.end(),
                        std::inserter(toHide, toHide.end()));
    std::set_difference(m_hiddenKeys.begin(), m_hiddenKeys.end(), keys.begin(), keys.end(),
                        std::inserter(toShow, toShow.end()));
    // A group's key moves the group's rows into the section before it, which row changes cannot
    // express: the table is read again instead.
    if (namesAGroup(*reader, toHide) || namesAGroup(*reader, toShow)) {
        m_hiddenKeys = std::move(keys);
        reader->setHiddenKeys(m_hiddenKeys);
        table.reloadData();
        return;
    }
    // The rows of `changing` keys, and the sections all of whose rows they are.
    const auto collect = [&reader](const std::set<std::string, std::less<>>& changing, std::vector<ui::IndexPath>& rows,
                                   std::set<int>& sections) {
        std::map<int, int> perSection;
        for (const std::string& key : changing)
            if (const std::optional<ui::IndexPath> indexPath = reader->indexPathForKey(key)) {
                rows.push_back(*indexPath);
                ++perSection[indexPath->section];
            }
        for (int section = 0; section < reader->numberOfSections(); ++section)
            if (perSection[section] >= reader->numberOfRowsForSection(section))
                sections.insert(section);
    };
    std::vector<ui::IndexPath> hiddenRows, shownRows;
    std::set<int> deletedSections, insertedSections;
    table.beginUpdates();
    collect(toHide, hiddenRows, deletedSections);
    m_hiddenKeys = std::move(keys);
    reader->setHiddenKeys(m_hiddenKeys);
    collect(toShow, shownRows, insertedSections);
    table.deleteSections(deletedSections, ui::RowAnimation::Top);
    table.deleteRows(hiddenRows, ui::RowAnimation::Top);
    table.insertSections(insertedSections, ui::RowAnimation::Top);
    table.insertRows(shownRows, ui::RowAnimation::Top);
    table.endUpdates();
}

} // namespace zm
