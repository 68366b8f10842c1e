#include "platform/ui/MailComposer.h"

#include "platform/core/Encoding.h"
#include "platform/ui/Label.h"
#include "platform/ui/StandInSheet.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/UrlOpener.h"

namespace ui {

namespace {

constexpr std::string_view kMailErrorDomain = "ui.mail";
constexpr float margin = 15;
constexpr float rowHeight = 32;

std::shared_ptr<MailTransport>& configured() {
    static std::shared_ptr<MailTransport> transport;
    return transport;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : std::string(separator)) + part;
    return text;
}

std::shared_ptr<Label> rowLabel(const std::string& text, float y, float width) {
    auto label = Label::create({margin, y, width - 2 * margin, rowHeight});
    label->setText(text);
    label->setFont(gfx::Font::system(15));
    label->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    return label;
}

} // namespace

core::Status MailtoTransport::send(const MailMessage& message) {
    if (!UrlOpener::shared().open(addressFor(message)))
        return core::Error{
            std::string(kMailErrorDomain), 2, "the desktop has no mail program to take the message", {}};
    return {};
}

std::string MailtoTransport::addressFor(const MailMessage& message) {
    auto escapedList = [](const std::vector<std::string>& addresses) {
        std::vector<std::string> escaped;
        for (const std::string& address : addresses)
            escaped.push_back(core::percentEscape(address, "-._~@+"));
        return joined(escaped, ",");
    };
    std::vector<std::string> fields;
    if (!message.cc.empty())
        fields.push_back("cc=" + escapedList(message.cc));
    if (!message.bcc.empty())
        fields.push_back("bcc=" + escapedList(message.bcc));
    if (!message.subject.empty())
        fields.push_back("subject=" + core::percentEscape(message.subject));
    if (!message.body.empty())
        fields.push_back("body=" + core::percentEscape(message.body));
    const std::string query = joined(fields, "&");
    return "mailto:" + escapedList(message.to) + (query.empty() ? "" : "?" + query);
}

std::shared_ptr<MailComposer> MailComposer::create() {
    return std::shared_ptr<MailComposer>(new MailComposer);
}

bool MailComposer::canSendMail() {
    return configured() != nullptr;
}

void MailComposer::setTransport(std::shared_ptr<MailTransport> transport) {
    configured() = std::move(transport);
}

void MailComposer::setToRecipients(std::vector<std::string> recipients) {
    m_message.to = std::move(recipients);
}

void MailComposer::setCcRecipients(std::vector<std::string> recipients) {
    m_message.cc = std::move(recipients);
}

void MailComposer::setBccRecipients(std::vector<std::string> recipients) {
    m_message.bcc = std::move(recipients);
}

void MailComposer::setSubject(std::string subject) {
    m_message.subject = std::move(subject);
    if (m_subjectField)
        m_subjectField->setText(m_message.subject);
}

void MailComposer::setMessageBody(std::string body, bool isHtml) {
    m_message.body = std::move(body);
    m_message.bodyIsHtml = isHtml;
    if (m_bodyView)
        m_bodyView->setText(m_message.body);
}

MailMessage MailComposer::message() const {
    MailMessage message = m_message;
    if (m_subjectField)
        message.subject = m_subjectField->text();
    if (m_bodyView)
        message.body = m_bodyView->text();
    return message;
}

void MailComposer::loadView() {
    const std::weak_ptr<MailComposer> self = std::static_pointer_cast<MailComposer>(shared_from_this());
    auto root = makeStandInSheet(
        "Send",
        [self] {
            if (const auto composer = self.lock())
                composer->cancel();
        },
        [self] {
            if (const auto composer = self.lock())
                composer->send();
        });
    const float width = kStandInSheetSize.width;
    float y = Toolbar::kHeight;
    root->addSubview(rowLabel("To: " + joined(m_message.to, ", "), y, width));
    y += rowHeight;
    if (!m_message.cc.empty()) {
        root->addSubview(rowLabel("Cc: " + joined(m_message.cc, ", "), y, width));
        y += rowHeight;
    }
    m_subjectField = TextField::create({margin, y, width - 2 * margin, rowHeight});
    m_subjectField->setPlaceholder("Subject");
    m_subjectField->setText(m_message.subject);
    m_subjectField->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    root->addSubview(m_subjectField);
    y += rowHeight;
    m_bodyView = TextView::create({0, y, width, kStandInSheetSize.height - y});
    m_bodyView->setText(m_message.body);
    m_bodyView->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    root->addSubview(m_bodyView);
    setView(std::move(root));
}

void MailComposer::send() {
    const std::shared_ptr<MailTransport> transport = configured();
    if (!transport) {
        finish(MailComposeResult::Failed,
               core::Error{std::string(kMailErrorDomain), 1, "mail is not configured", {}});
        return;
    }
    core::Status sent = transport->send(message());
    finish(sent ? MailComposeResult::Sent : MailComposeResult::Failed,
           sent ? std::nullopt : std::optional(sent.error()));
}

void MailComposer::cancel() {
    finish(MailComposeResult::Cancelled, std::nullopt);
}

void MailComposer::finish(MailComposeResult result, std::optional<core::Error> error) {
    const std::shared_ptr<ViewController> keep = shared_from_this();
    if (const std::shared_ptr<MailComposerDelegate> delegate = m_delegate.lock())
        delegate->mailComposerDidFinish(*this, result, error);
}

} // namespace ui
