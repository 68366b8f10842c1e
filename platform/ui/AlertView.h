#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ui {

class AlertView;
class View;

// Told which button of an alert was chosen. Every operation is optional.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;

    // A button was chosen; the alert is still on screen.
    virtual void alertViewClickedButton(AlertView& alert, int buttonIndex);
    // The alert has gone after a button was chosen.
    virtual void alertViewDidDismiss(AlertView& alert, int buttonIndex);
};

// A message that waits for an answer: a title, a message and buttons over the dimmed window. The
// buttons are numbered in the order they were added, the cancel button (when there is one) first; with
// two buttons they stand side by side, cancel at the left, otherwise one above the other, cancel at the
// bottom. Choosing a button dismisses the alert and tells the delegate.
//
// A shown alert keeps itself alive until it is dismissed. Without a running application it is shown
// nowhere but still waits for an answer (see visibleAlerts), so that code which asks can be tested
// without a window.
//
// Main thread only.
class AlertView : public std::enable_shared_from_this<AlertView> {
public:
    static constexpr int kNoButton = -1;

    static std::shared_ptr<AlertView> create(std::string title, std::string message,
                                             std::weak_ptr<AlertViewDelegate> delegate = {},
                                             std::string cancelButtonTitle = {},
                                             std::vector<std::string> otherButtonTitles = {});
    ~AlertView();
    AlertView(const AlertView&) = delete;
    AlertView& operator=(const AlertView&) = delete;

    const std::string& title() const { return m_title; }
    const std::string& message() const { return m_message; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    const std::weak_ptr<AlertViewDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // Answers the new button's index. Buttons added while the alert is shown appear when it is shown
    // again.
    int addButton(std::string title);
    int numberOfButtons() const { return int(m_buttons.size()); }
    // Empty for an index out of range.
    std::string buttonTitle(int index) const;
    int cancelButtonIndex() const { return m_cancelIndex; }
    // The first button that is not the cancel button, or kNoButton.
    int firstOtherButtonIndex() const;

    void show();
    bool isVisible() const;
    // As if the button at `buttonIndex` was tapped (any index is passed on as it is): the delegate hears
    // alertViewClickedButton, then, once the alert is gone, alertViewDidDismiss.
    void dismiss(int buttonIndex, bool animated);

    // The alerts waiting for an answer, the frontmost last.
    static std::vector<std::shared_ptr<AlertView>> visibleAlerts();

private:
    AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate);

    std::shared_ptr<View> makeOverlay(const View& window);

    std::string m_title;
    std::string m_message;
    std::weak_ptr<AlertViewDelegate> m_delegate;
    std::vector<std::string> m_buttons;
    int m_cancelIndex = kNoButton;
    int m_tag = 0;
    std::shared_ptr<View> m_overlay; // on screen while shown in a window
};

} // namespace ui
