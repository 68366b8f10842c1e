#pragma once

#include "platform/ui/MailComposer.h"
#include "shell/screens/TopicViewController.h"

#include <memory>

namespace ui {
class Button;
class GradientLayer;
class ImageView;
class ScrollView;
} // namespace ui

namespace zm {

// The information screen, zoomed in from the home screen's info button: over a blurred copy of the
// background, a scrolling column of buttons for feedback mail, the mailing list and more apps (shown
// in the game by the web screen), sharing, rating in the store, the maker's web site, the licences,
// resetting progress, and the way back to the topics. Each visit makes a new one.
//
// Main thread only.
class InfoViewController : public TopicViewController, public ui::MailComposerDelegate {
public:
    // The screen of "InfoStoryboard" ("InfoStoryboard~ipad" on a tablet); null when it cannot be made.
    static std::shared_ptr<InfoViewController> spawnFromStoryboard();
    // The interface-file way of making one.
    static std::shared_ptr<InfoViewController> create();

    // The subject of feedback mail.
    static constexpr std::string_view kFeedbackSubject = "Zembrix Feedback";
    // What resetting progress says, as it stands in every language.
    static constexpr std::string_view kResetTitle = "Progress Reset";
    static constexpr std::string_view kResetMessage = "Start from the beginning!";
    static constexpr std::string_view kResetButton = "Ok";
    // The scrolling area's content on a phone and on a tablet.
    static constexpr core::Size kPhoneContentSize{480, 520};
    static constexpr core::Size kTabletContentSize{5, 768};

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    // On a phone the scrolling area gets its fade mask, once.
    void viewDidAppear(bool animated) override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }
    bool growsFromLowerRightCorner() const override { return true; }

    // The buttons.
    // A mail to the maker, when the game can send mail; nothing otherwise.
    void hitEmail();
    void hitSubscribe();
    void hitMoreApps();
    void hitShare();
    void hitRate();
    void hitWebsite();
    void hitDone();
    // Forgets the progress and the last topic at once, and says so.
    void hitResetProgress();
    void hitLicenses();

    void mailComposerDidFinish(ui::MailComposer& composer, ui::MailComposeResult result,
                               const std::optional<core::Error>& error) override;

    // The text offered for sharing: the product's name and its store page.
    static std::string shareText();

    std::shared_ptr<ui::Button> homeButton() const { return m_homeButton.lock(); }
    std::shared_ptr<ui::ScrollView> scrollView() const { return m_scrollView.lock(); }
    const std::shared_ptr<ui::ImageView>& backgroundImageView() const { return m_backgroundImageView; }
    const std::shared_ptr<ui::View>& scrollViewContainer() const { return m_scrollViewContainer; }
    const std::shared_ptr<ui::GradientLayer>& maskLayer() const { return m_maskLayer; }

protected:
    InfoViewController();

private:
    // Shows a new web screen for `url`, sliding in from the right.
    void pushWebPage(std::string url);

    // The action buttons are placed and wired by the interface file; the code touches only the way back.
    std::weak_ptr<ui::Button> m_homeButton;
    std::weak_ptr<ui::ScrollView> m_scrollView;
    std::shared_ptr<ui::ImageView> m_backgroundImageView;
    std::shared_ptr<ui::View> m_scrollViewContainer;
    std::shared_ptr<ui::GradientLayer> m_maskLayer;
};

} // namespace zm
