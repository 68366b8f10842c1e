#pragma once

#include "platform/ui/MailComposer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"

#include <memory>
#include <optional>
#include <string>

namespace zm {

// A web page named by a child-pane row: an address, or a page among the program's resources. Its
// mail links open a mail composer, its links to other hosts open in the desktop's browser, and links
// on the same host or to local files load in place.
class STKAppSettingsWebViewController : public ui::ViewController,
                                        public ui::WebViewDelegate,
                                        public ui::MailComposerDelegate {
public:
    static std::shared_ptr<STKAppSettingsWebViewController> create();
    // The row's "File" is the address or the resource's name; the key is not used.
    void initWithFile(const std::string& file, const std::string& key);

    const std::string& url() const { return m_url; }
    ui::WebView* webView() const { return m_webView.get(); }

    // The message a "mailto:" address asks for; nothing for one with more than one "?".
    static std::optional<ui::MailMessage> mailMessageForAddress(std::string_view address);

    bool webViewShouldStartLoad(ui::WebView& webView, const std::string& url, ui::NavigationType type) override;
    void webViewDidFinishLoad(ui::WebView& webView) override;
    void mailComposerDidFinish(ui::MailComposer& composer, ui::MailComposeResult result,
                               const std::optional<core::Error>& error) override;

protected:
    STKAppSettingsWebViewController() = default;

    void loadView() override;
    void viewWillAppear(bool animated) override;

private:
    void composeMail(ui::MailMessage message);

    std::shared_ptr<ui::WebView> m_webView;
    std::string m_url;
};

} // namespace zm
