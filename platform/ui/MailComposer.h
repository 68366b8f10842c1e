#pragma once

#include "platform/core/Error.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class MailComposer;
class TextField;
class TextView;

// A message to send.
struct MailMessage {
    std::vector<std::string> to;
    std::vector<std::string> cc;
    std::vector<std::string> bcc;
    std::string subject;
    std::string body;
    bool bodyIsHtml = false;
};

// How mail leaves the desktop. The program configures one; without it the game cannot send mail.
class MailTransport {
public:
    virtual ~MailTransport() = default;
    virtual core::Status send(const MailMessage& message) = 0;
};

// Hands a message to the desktop's mail program as a "mailto:" address (through the shared UrlOpener).
class MailtoTransport : public MailTransport {
public:
    core::Status send(const MailMessage& message) override;
    // The address: recipients, subject and plain body, percent-escaped.
    static std::string addressFor(const MailMessage& message);
};

enum class MailComposeResult { Cancelled, Saved, Sent, Failed };

class MailComposerDelegate {
public:
    virtual ~MailComposerDelegate() = default;
    // The user sent or cancelled; the presenter dismisses the composer.
    virtual void mailComposerDidFinish(MailComposer& composer, MailComposeResult result,
                                       const std::optional<core::Error>& error) = 0;
};

// A screen that writes a message: recipients, an editable subject and body, and Cancel and Send
// buttons. Screens check canSendMail before they present one. Sending goes through the configured
// transport; the delegate hears how it went and dismisses the screen.
class MailComposer : public ViewController {
public:
    static std::shared_ptr<MailComposer> create();

    // Whether a transport is configured.
    static bool canSendMail();
    static void setTransport(std::shared_ptr<MailTransport> transport);

    void setToRecipients(std::vector<std::string> recipients);
    void setCcRecipients(std::vector<std::string> recipients);
    void setBccRecipients(std::vector<std::string> recipients);
    void setSubject(std::string subject);
    void setMessageBody(std::string body, bool isHtml);
    // The message as it stands, with what the user typed.
    MailMessage message() const;

    const std::weak_ptr<MailComposerDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<MailComposerDelegate> delegate) { m_delegate = std::move(delegate); }

    // What the two buttons do.
    void send();
    void cancel();

protected:
    MailComposer() = default;

    void loadView() override;

private:
    void finish(MailComposeResult result, std::optional<core::Error> error);

    MailMessage m_message;
    std::weak_ptr<MailComposerDelegate> m_delegate;
    std::shared_ptr<TextField> m_subjectField;
    std::shared_ptr<TextView> m_bodyView;
};

} // namespace ui
