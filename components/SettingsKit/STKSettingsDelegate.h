#pragma once

#include "platform/ui/MailComposer.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class TableView;
class TableViewCell;
class View;
class ViewController;
} // namespace ui

namespace zm {

class STKAppSettingsViewController;
class STKSpecifier;

// The optional operations of a settings delegate, so that the screen can tell which it takes.
enum class STKSettingsMessage {
    HeightForHeader,
    ViewForHeader,
    HeightForSpecifier,
    CellForSpecifier,
    MailComposeBody,
    ViewControllerForMailCompose,
    MailComposeDidFinish,
    ButtonTappedForKey,
    ButtonTappedForSpecifier,
    DidSelectCustomViewSpecifier,
};

// What the embedding program does for a settings screen: it hears that Done was pressed, and may draw
// custom rows and headers, handle buttons and fill in mail. It says in respondsTo which of the
// optional operations it takes; the screen sends only those.
class STKSettingsDelegate {
public:
    virtual ~STKSettingsDelegate() = default;

    virtual void settingsViewControllerDidEnd(STKAppSettingsViewController& sender) = 0;

    virtual bool respondsTo(STKSettingsMessage) const { return false; }
    // 0: the header title's height applies.
    virtual float heightForHeader(STKAppSettingsViewController&, ui::TableView&, int /*section*/) { return 0; }
    virtual std::shared_ptr<ui::View> viewForHeader(STKAppSettingsViewController&, ui::TableView&, int /*section*/) {
        return nullptr;
    }
    virtual float heightForSpecifier(ui::TableView&, const STKSpecifier&) { return 0; }
    // Must answer a cell.
    virtual std::shared_ptr<ui::TableViewCell> cellForSpecifier(ui::TableView&, const STKSpecifier&) { return nullptr; }
    virtual std::string mailComposeBodyForSpecifier(STKAppSettingsViewController&, const STKSpecifier&) { return {}; }
    // The screen that presents the mail composer; none: the settings screen.
    virtual std::shared_ptr<ui::ViewController> viewControllerForMailComposeView(STKAppSettingsViewController&,
                                                                                 const STKSpecifier&) {
        return nullptr;
    }
    virtual void mailComposeControllerDidFinish(STKAppSettingsViewController&, ui::MailComposer&, ui::MailComposeResult,
                                                const std::optional<core::Error>&) {}
    // The older form of buttonTappedForSpecifier.
    virtual void buttonTappedForKey(STKAppSettingsViewController&, const std::string& /*key*/) {}
    virtual void buttonTappedForSpecifier(STKAppSettingsViewController&, const STKSpecifier&) {}
    virtual void didSelectCustomViewSpecifier(STKAppSettingsViewController&, ui::TableView&, const STKSpecifier&) {}
};

} // namespace zm
