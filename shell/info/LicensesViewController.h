#pragma once

#include "platform/ui/ViewController.h"

#include <memory>

namespace ui {
class TextView;
}

namespace zm {

// The licences of the libraries and fonts the game is built with, presented over the information
// screen. The text lives in its interface file, "LicensesViewController".
//
// Main thread only.
class LicensesViewController : public ui::ViewController {
public:
    static std::shared_ptr<LicensesViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;

    // Asks the presenting screen to dismiss this one.
    void hitDone();

    std::shared_ptr<ui::TextView> textView() const { return m_textView.lock(); }

protected:
    LicensesViewController();

private:
    std::weak_ptr<ui::TextView> m_textView;
};

} // namespace zm
