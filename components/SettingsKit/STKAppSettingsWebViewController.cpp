#include "components/SettingsKit/STKAppSettingsWebViewController.h"

#include "components/SettingsKit/STKMailNotConfigured.h"
#include "platform/core/Encoding.h"
#include "platform/core/FileLocations.h"
#include "platform/ui/Url.h"
#include "platform/ui/UrlOpener.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace zm {

namespace {

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::string piece;
    std::istringstream stream{std::string(text)};
    while (std::getline(stream, piece, separator))
        pieces.push_back(piece);
    if (!text.empty() && text.back() == separator)
        pieces.emplace_back();
    return pieces;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

} // namespace

std::shared_ptr<STKAppSettingsWebViewController> STKAppSettingsWebViewController::create() {
    return std::shared_ptr<STKAppSettingsWebViewController>(new STKAppSettingsWebViewController);
}

void STKAppSettingsWebViewController::initWithFile(const std::string& file, const std::string&) {
    if (const std::optional<ui::Url> address = ui::Url::parse(file); address && !address->scheme.empty()) {
        m_url = file;
        return;
    }
    const std::filesystem::path resource = core::FileLocations::shared().resources / file;
    std::error_code error;
    m_url = std::filesystem::is_regular_file(resource, error) ? "file://" + core::percentEscape(resource.string(), "/-._~")
                                                             : std::string();
}

void STKAppSettingsWebViewController::loadView() {
    m_webView = ui::WebView::create();
    m_webView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_webView->setDelegate(std::static_pointer_cast<STKAppSettingsWebViewController>(shared_from_this()));
    setView(m_webView);
}

void STKAppSettingsWebViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    if (!m_url.empty())
        m_webView->loadRequest(m_url);
}

void STKAppSettingsWebViewController::webViewDidFinishLoad(ui::WebView& webView) {
    setTitle(webView.pageTitle());
}

std::optional<ui::MailMessage> STKAppSettingsWebViewController::mailMessageForAddress(std::string_view address) {
    const std::vector<std::string> pieces = split(address.substr(address.find(':') + 1), '?');
    if (pieces.size() > 2)
        return std::nullopt;
    ui::MailMessage message;
    if (!pieces.empty() && !pieces[0].empty())
        message.to.push_back(pieces[0]);
    if (pieces.size() < 2)
        return message;
    for (const std::string& parameter : split(pieces[1], '&')) {
        const std::vector<std::string> parts = split(parameter, '=');
        if (parts.size() != 2)
            continue;
        const std::string name = lowered(parts[0]);
        const std::string value = core::percentUnescape(parts[1]).value_or(parts[1]);
        if (name == "subject")
            message.subject = value;
        else if (name == "body")
            message.body = value;
        else if (name == "to")
            for (const std::string& recipient : split(value, ','))
                message.to.push_back(recipient);
        else if (name == "cc")
            message.cc = split(value, ',');
        else if (name == "bcc")
            message.bcc = split(value, ',');
    }
    return message;
}

bool STKAppSettingsWebViewController::webViewShouldStartLoad(ui::WebView&, const std::string& url, ui::NavigationType) {
    const std::optional<ui::Url> address = ui::Url::parse(url);
    if (!address)
        return false;
    if (address->scheme == "mailto") {
        if (std::optional<ui::MailMessage> message = mailMessageForAddress(url))
            composeMail(std::move(*message));
        return false;
    }
    if (address->host.empty())
        return true;
    const std::optional<ui::Url> page = ui::Url::parse(m_url);
    if (page && page->host == address->host)
        return true;
    ui::UrlOpener::shared().open(url);
    return false;
}

void STKAppSettingsWebViewController::composeMail(ui::MailMessage message) {
    if (!ui::MailComposer::canSendMail()) {
        showMailNotConfigured();
        return;
    }
    auto composer = ui::MailComposer::create();
    composer->setDelegate(std::static_pointer_cast<STKAppSettingsWebViewController>(shared_from_this()));
    composer->setSubject(message.subject);
    composer->setMessageBody(message.body, false);
    composer->setToRecipients(message.to);
    composer->setCcRecipients(message.cc);
    composer->setBccRecipients(message.bcc);
    presentViewController(composer, true);
}

void STKAppSettingsWebViewController::mailComposerDidFinish(ui::MailComposer&, ui::MailComposeResult,
                                                             const std::optional<core::Error>&) {
    dismissViewController(true);
}

} // namespace zm
