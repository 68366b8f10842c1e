#pragma once

// What the desktop's stand-in sheets (mail, sharing) share.

#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {

// The size of a stand-in sheet: a phone's screen.
inline constexpr core::Size kStandInSheetSize{480, 320};

// A stand-in sheet's root view: white, with a toolbar across its top (Toolbar::kHeight) that holds
// Cancel at the left and the sheet's own action, titled `actionTitle`, at the right.
std::shared_ptr<View> makeStandInSheet(const std::string& actionTitle, std::function<void()> cancel,
                                       std::function<void()> action);

} // namespace ui
