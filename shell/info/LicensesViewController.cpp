#include "shell/info/LicensesViewController.h"

#include "platform/ui/Outlets.h"
#include "platform/ui/TextView.h"

namespace zm {

std::shared_ptr<LicensesViewController> LicensesViewController::create() {
    return std::shared_ptr<LicensesViewController>(new LicensesViewController);
}

LicensesViewController::LicensesViewController() {
    setNibName("LicensesViewController");
}

void LicensesViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("textView", m_textView);
    ui::ViewController::connectOutlets(outlets);
}

std::function<void()> LicensesViewController::actionNamed(std::string_view name) {
    if (name == "hitDone:")
        return [this] { hitDone(); };
    return ui::ViewController::actionNamed(name);
}

void LicensesViewController::hitDone() {
    if (ui::ViewController* presenter = presentingViewController())
        presenter->dismissViewController(true);
}

} // namespace zm
