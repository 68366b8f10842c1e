#pragma once

#include "platform/ui/TableViewController.h"

#include <memory>
#include <optional>
#include <vector>

namespace zm {

class NZColourSelectTableViewController;

// Hears the colour chosen on a colour list.
class NZColourSelectTableViewControllerDelegate {
public:
    virtual ~NZColourSelectTableViewControllerDelegate() = default;
    virtual void colourSelectTableViewController(NZColourSelectTableViewController& list,
                                                 const core::Color& colour) = 0;
};

// The eleven text colours as swatches, a check mark beside the chosen one. A choice is reported at once
// and the list stays; the user goes back through the navigation bar.
//
// Main thread only.
class NZColourSelectTableViewController : public ui::TableViewController {
public:
    // A list whose view comes from the interface file of its name.
    static std::shared_ptr<NZColourSelectTableViewController> fromInterfaceFile();
    // A list in a plain table, made in code.
    static std::shared_ptr<NZColourSelectTableViewController> create();

    void setDelegate(std::weak_ptr<NZColourSelectTableViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    const std::vector<core::Color>& availableColours() const { return m_availableColours; }
    // The marked colour; a colour that is none of the eleven marks no row.
    const std::optional<core::Color>& selectedColour() const { return m_selectedColour; }
    void setSelectedColour(std::optional<core::Color> colour) { m_selectedColour = colour; }

    int numberOfRows(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;

protected:
    NZColourSelectTableViewController() = default;

    void viewDidLoad() override;

private:
    std::weak_ptr<NZColourSelectTableViewControllerDelegate> m_delegate;
    std::vector<core::Color> m_availableColours;
    std::optional<core::Color> m_selectedColour;
};

} // namespace zm
