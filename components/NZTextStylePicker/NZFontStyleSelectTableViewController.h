#pragma once

#include "platform/gfx/Font.h"
#include "platform/ui/TableViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zm {

class NZFontStyleSelectTableViewController;

// Hears the face chosen on a face list.
class NZFontStyleSelectTableViewControllerDelegate {
public:
    virtual ~NZFontStyleSelectTableViewControllerDelegate() = default;
    virtual void fontStyleSelectTableViewController(NZFontStyleSelectTableViewController& list,
                                                    const gfx::Font& font) = 0;
};

// The faces of one font family, each shown in itself, a check mark beside the current one. A chosen face
// comes at 20 points, whatever the current size, and is reported at once; the list stays.
//
// Main thread only.
class NZFontStyleSelectTableViewController : public ui::TableViewController {
public:
    static constexpr float kChosenFaceSize = 20;

    // A list whose view comes from the interface file of its name.
    static std::shared_ptr<NZFontStyleSelectTableViewController> fromInterfaceFile();
    // A list in a plain table, made in code.
    static std::shared_ptr<NZFontStyleSelectTableViewController> create();

    void setDelegate(std::weak_ptr<NZFontStyleSelectTableViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // The family whose faces are listed; set before the view loads.
    const std::string& fontFamilyName() const { return m_fontFamilyName; }
    void setFontFamilyName(std::string name) { m_fontFamilyName = std::move(name); }
    const std::vector<std::string>& fontNames() const { return m_fontNames; }
    const std::optional<gfx::Font>& selectedFont() const { return m_selectedFont; }
    void setSelectedFont(std::optional<gfx::Font> font) { m_selectedFont = font; }

    int numberOfRows(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

protected:
    NZFontStyleSelectTableViewController() = default;

    void viewDidLoad() override;

private:
    std::weak_ptr<NZFontStyleSelectTableViewControllerDelegate> m_delegate;
    std::string m_fontFamilyName;
    std::vector<std::string> m_fontNames;
    std::optional<gfx::Font> m_selectedFont;
};

} // namespace zm
