#include "components/SettingsKit/STKMailNotConfigured.h"

#include "platform/core/Localization.h"
#include "platform/ui/AlertView.h"

namespace zm {

void showMailNotConfigured() {
    const core::Localization& texts = core::Localization::main();
    ui::AlertView::create(texts.localizedString("Mail not configured"),
                          texts.localizedString("This device is not configured for sending Email. Please configure "
                                                "the Mail settings in the Settings app."),
                          {}, texts.localizedString("OK"))
        ->show();
}

} // namespace zm
