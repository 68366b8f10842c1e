#pragma once

#include "components/NZTextStylePicker/NZFontStyleSelectTableViewController.h"
#include "platform/gfx/Font.h"
#include "platform/ui/TableViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zm {

class NZFontSelectTableViewController;
class STKSpecifier;

// Hears the font chosen on a font family list (or on the face list it opened).
class NZFontSelectTableViewControllerDelegate {
public:
    virtual ~NZFontSelectTableViewControllerDelegate() = default;
    virtual void fontSelectTableViewController(NZFontSelectTableViewController& list, const gfx::Font& font) = 0;
};

// The font families, each shown in itself, a check mark beside the current font's family. Choosing a
// family hands over the family's font at the current font's size (0 without a current font); a family
// of several faces has a detail button that opens its face list. Choices are reported at once and the
// list stays.
//
// Main thread only.
class NZFontSelectTableViewController : public ui::TableViewController,
                                        public NZFontStyleSelectTableViewControllerDelegate {
public:
    // A list whose view comes from the interface file of its name.
    static std::shared_ptr<NZFontSelectTableViewController> fromInterfaceFile();
    // A list in a plain table, made in code.
    static std::shared_ptr<NZFontSelectTableViewController> create();

    void setDelegate(std::weak_ptr<NZFontSelectTableViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    const std::vector<std::string>& fontFamilyNames() const { return m_fontFamilyNames; }
    const std::optional<gfx::Font>& selectedFont() const { return m_selectedFont; }
    void setSelectedFont(std::optional<gfx::Font> font) { m_selectedFont = font; }
    // The settings row that opened the list, whose key the choice is stored under.
    const std::shared_ptr<STKSpecifier>& specifier() const { return m_specifier; }
    void setSpecifier(std::shared_ptr<STKSpecifier> specifier) { m_specifier = std::move(specifier); }

    int numberOfRows(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void accessoryButtonTapped(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

    void fontStyleSelectTableViewController(NZFontStyleSelectTableViewController& list,
                                            const gfx::Font& font) override;

protected:
    NZFontSelectTableViewController() = default;

    void viewDidLoad() override;

private:
    void choose(const gfx::Font& font);

    std::weak_ptr<NZFontSelectTableViewControllerDelegate> m_delegate;
    std::vector<std::string> m_fontFamilyNames;
    std::optional<gfx::Font> m_selectedFont;
    std::shared_ptr<STKSpecifier> m_specifier;
};

} // namespace zm
