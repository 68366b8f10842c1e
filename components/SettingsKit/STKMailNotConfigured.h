#pragma once

namespace zm {

// Tells the user that mail cannot be sent from here: no mail transport is configured.
void showMailNotConfigured();

} // namespace zm
