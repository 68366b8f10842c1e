#include "platform/ui/Button.h"
#include "platform/ui/MailComposer.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/ShareSheet.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/UrlOpener.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

class RecordingTransport : public MailTransport {
public:
    core::Status send(const MailMessage& message) override {
        sent.push_back(message);
        return {};
    }
    std::vector<MailMessage> sent;
};

// The info screen's part: it presents the composer and dismisses it whatever the result.
class Feedback : public ViewController, public MailComposerDelegate {
public:
    static std::shared_ptr<Feedback> make() { return std::shared_ptr<Feedback>(new Feedback); }
    void mailComposerDidFinish(MailComposer&, MailComposeResult result,
                               const std::optional<core::Error>& error) override {
        results.push_back(result);
        errors += error ? 1 : 0;
        dismissViewController(true);
    }
    std::vector<MailComposeResult> results;
    int errors = 0;
};

// The button of a toolbar item titled `title` in the view's tree, in window coordinates.
std::optional<core::Point> barButton(const View& view, const std::string& title) {
    if (const auto* button = dynamic_cast<const Button*>(&view); button && button->currentTitle() == title) {
        const core::Rect frame = button->convertRectToView(button->bounds(), nullptr);
        return core::Point{frame.midX(), frame.midY()};
    }
    for (const std::shared_ptr<View>& subview : view.subviews()) {
        if (const std::optional<core::Point> found = barButton(*subview, title))
            return found;
    }
    return std::nullopt;
}

class StandIns : public testing::ApplicationFixture {
protected:
    void SetUp() override {
        window.setRootViewController(screen);
        MailComposer::setTransport(nullptr);
    }
    void TearDown() override { MailComposer::setTransport(nullptr); }

    std::shared_ptr<Feedback> screen = Feedback::make();
    testing::TouchScript fingers{window};
};

TEST_F(StandIns, MailIsOnlyPossibleWhenConfigured) {
    EXPECT_FALSE(MailComposer::canSendMail());
    auto composer = MailComposer::create();
    composer->setDelegate(screen);
    composer->send(); // a screen that did not ask first
    EXPECT_EQ(screen->results, (std::vector<MailComposeResult>{MailComposeResult::Failed}));
    EXPECT_EQ(screen->errors, 1);

    auto transport = std::make_shared<RecordingTransport>();
    MailComposer::setTransport(transport);
    EXPECT_TRUE(MailComposer::canSendMail());
}

TEST_F(StandIns, TheComposerSendsWhatTheUserWrote) {
    auto transport = std::make_shared<RecordingTransport>();
    MailComposer::setTransport(transport);
    auto composer = MailComposer::create();
    composer->setDelegate(screen);
    composer->setToRecipients({"feedback@example.com"});
    composer->setSubject("Zembrix Feedback");
    screen->presentViewController(composer, true);
    advance(0.5);
    EXPECT_EQ(screen->presentedViewController(), composer.get());

    // The subject field takes the keyboard.
    TextField* subject = nullptr;
    for (const std::shared_ptr<View>& subview : composer->view()->subviews()) {
        if (auto* field = dynamic_cast<TextField*>(subview.get()))
            subject = field;
    }
    ASSERT_NE(subject, nullptr);
    const core::Rect field = subject->convertRectToView(subject->bounds(), nullptr);
    fingers.tap({field.maxX() - 2, field.midY()});
    window.insertText("!");

    const std::optional<core::Point> send = barButton(*composer->view(), "Send");
    ASSERT_TRUE(send);
    fingers.tap(*send);
    ASSERT_EQ(transport->sent.size(), 1u);
    EXPECT_EQ(transport->sent[0].to, (std::vector<std::string>{"feedback@example.com"}));
    EXPECT_EQ(transport->sent[0].subject, "Zembrix Feedback!");
    EXPECT_EQ(screen->results, (std::vector<MailComposeResult>{MailComposeResult::Sent}));
    advance(0.5);
    EXPECT_EQ(screen->presentedViewController(), nullptr);
    EXPECT_EQ(composer->view()->superview(), nullptr);
}

TEST(MailtoTransport, AddressesCarryTheMessage) {
    MailMessage message;
    message.to = {"feedback@example.com", "b+c@example.com"};
    message.subject = "Zembrix Feedback";
    message.body = "a&b=c";
    EXPECT_EQ(MailtoTransport::addressFor(message),
              "mailto:feedback@example.com,b+c@example.com?subject=Zembrix%20Feedback&body=a%26b%3Dc");
}

TEST_F(StandIns, TheShareSheetCopiesItsTextToTheClipboard) {
    Pasteboard::general().setString("");
    auto sheet = ShareSheet::create("Zembrix: https://apps.example.com/us/app/id1?mt=8");
    std::vector<bool> completions;
    sheet->setCompletion([&](bool copied) { completions.push_back(copied); });
    screen->presentViewController(sheet, true);
    advance(0.5);
    const std::optional<core::Point> copy = barButton(*sheet->view(), "Copy");
    ASSERT_TRUE(copy);
    fingers.tap(*copy);
    EXPECT_EQ(Pasteboard::general().string(), "Zembrix: https://apps.example.com/us/app/id1?mt=8");
    EXPECT_EQ(completions, (std::vector<bool>{true}));
    advance(0.5);
    EXPECT_EQ(screen->presentedViewController(), nullptr);

    // Cancel copies nothing.
    Pasteboard::general().setString("before");
    auto another = ShareSheet::create("other");
    another->setCompletion([&](bool copied) { completions.push_back(copied); });
    screen->presentViewController(another, false);
    another->cancel();
    EXPECT_EQ(Pasteboard::general().string(), "before");
    EXPECT_EQ(completions, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace ui
