#include "platform/ui/AlertView.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float panelWidth = 270;
constexpr float padding = 16;
constexpr float buttonHeight = 44;
constexpr double fadeDuration = 0.2;
const core::Color tintColor = core::Color::rgb255(0, 122, 255);
const core::Color lineColor = core::Color::rgba(0, 0, 0, 0.2f);

std::vector<std::shared_ptr<AlertView>>& shown() {
    static std::vector<std::shared_ptr<AlertView>> alerts;
    return alerts;
}

// The rounded card in the middle of the dimmed window, with lines between its buttons.
class Panel : public View {
public:
    static std::shared_ptr<Panel> create(const core::Rect& frame) {
        return std::shared_ptr<Panel>(new Panel(frame));
    }

    std::vector<core::Rect> lines; // hairlines, in the panel's coordinates

protected:
    explicit Panel(const core::Rect& frame)
        : View(frame) {}

    void draw(gfx::Canvas& canvas) override {
        canvas.setFillColor(core::Color::rgba(0.97f, 0.97f, 0.97f, 0.98f));
        canvas.fillPath(gfx::Path::roundedRect(bounds(), 12));
        canvas.setFillColor(lineColor);
        for (const core::Rect& line : lines)
            canvas.fillRect(line);
    }
};

std::shared_ptr<Label> textLabel(const std::string& text, const gfx::Font& font, float y) {
    auto label = Label::create();
    label->setText(text);
    label->setFont(font);
    label->setNumberOfLines(0);
    label->setTextAlignment(gfx::TextAlignment::Center);
    const float width = panelWidth - 2 * padding;
    const float height = text.empty() ? 0 : label->sizeThatFits({width, 10'000}).height;
    label->setFrame({padding, y, width, height});
    return label;
}

} // namespace

void AlertViewDelegate::alertViewClickedButton(AlertView&, int) {}

void AlertViewDelegate::alertViewDidDismiss(AlertView&, int) {}

std::shared_ptr<AlertView> AlertView::create(std::string title, std::string message,
                                             std::weak_ptr<AlertViewDelegate> delegate,
                                             std::string cancelButtonTitle,
                                             std::vector<std::string> otherButtonTitles) {
    auto alert =
        std::shared_ptr<AlertView>(new AlertView(std::move(title), std::move(message), std::move(delegate)));
    if (!cancelButtonTitle.empty())
        alert->m_cancelIndex = alert->addButton(std::move(cancelButtonTitle));
    for (std::string& other : otherButtonTitles)
        alert->addButton(std::move(other));
    return alert;
}

AlertView::AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate)
    : m_title(std::move(title))
    , m_message(std::move(message))
    , m_delegate(std::move(delegate)) {}

AlertView::~AlertView() = default;

int AlertView::addButton(std::string title) {
    m_buttons.push_back(std::move(title));
    return int(m_buttons.size()) - 1;
}

std::string AlertView::buttonTitle(int index) const {
    return index >= 0 && index < numberOfButtons() ? m_buttons[size_t(index)] : std::string();
}

int AlertView::firstOtherButtonIndex() const {
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (index != m_cancelIndex)
            return index;
    }
    return kNoButton;
}

bool AlertView::isVisible() const {
    const auto& alerts = shown();
    return std::any_of(alerts.begin(), alerts.end(),
                       [this](const std::shared_ptr<AlertView>& alert) { return alert.get() == this; });
}

std::vector<std::shared_ptr<AlertView>> AlertView::visibleAlerts() {
    return shown();
}

void AlertView::show() {
    if (isVisible())
        return;
    shown().push_back(shared_from_this());
    Application* application = Application::current();
    if (!application)
        return;
    Window& window = application->window();
    m_overlay = makeOverlay(window);
    m_overlay->setAlpha(0);
    window.addSubview(m_overlay);
    animate({.duration = fadeDuration}, [overlay = m_overlay] { overlay->setAlpha(1); });
}

std::shared_ptr<View> AlertView::makeOverlay(const View& window) {
    auto overlay = View::create(window.bounds());
    overlay->setBackgroundColor(core::Color::rgba(0, 0, 0, 0.4f));
    overlay->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);

    auto panel = Panel::create({});
    auto title = textLabel(m_title, gfx::Font::boldSystem(17), padding);
    auto message = textLabel(m_message, gfx::Font::system(13), title->frame().maxY() + 4);
    panel->addSubview(title);
    panel->addSubview(message);
    float top = message->frame().maxY() + padding;

    // The buttons: side by side for two, cancel at the left; else stacked, cancel at the bottom.
    std::vector<int> order;
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (index != m_cancelIndex)
            order.push_back(index);
    }
    const bool sideBySide = numberOfButtons() == 2;
    if (m_cancelIndex != kNoButton)
        order.insert(sideBySide ? order.begin() : order.end(), m_cancelIndex);
    for (size_t place = 0; place < order.size(); ++place) {
        const int index = order[place];
        core::Rect frame{0, top + float(place) * buttonHeight, panelWidth, buttonHeight};
        if (sideBySide)
            frame = {float(place) * panelWidth / 2, top, panelWidth / 2, buttonHeight};
        panel->lines.push_back(sideBySide && place == 1 ? core::Rect{frame.minX(), top, 0.5f, buttonHeight}
                                                        : core::Rect{0, frame.minY(), panelWidth, 0.5f});
        auto button = Button::create(frame);
        button->setTitle(m_buttons[size_t(index)]);
        button->setTitleColor(tintColor);
        button->setTitleColor(tintColor.withAlpha(0.3f), ControlState::Highlighted);
        button->titleLabel().setFont(index == m_cancelIndex ? gfx::Font::boldSystem(17)
                                                            : gfx::Font::system(17));
        button->addTarget(ControlEvent::TouchUpInside, [weak = weak_from_this(), index](Control&) {
            if (const std::shared_ptr<AlertView> alert = weak.lock())
                alert->dismiss(index, true);
        });
        panel->addSubview(button);
    }
    const float buttons =
        order.empty() ? 0 : (sideBySide ? buttonHeight : float(order.size()) * buttonHeight);
    const core::Rect area = window.bounds();
    const float height = top + buttons;
    panel->setFrame({area.midX() - panelWidth / 2, area.midY() - height / 2, panelWidth, height});
    panel->setAutoresizingMask(AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleRightMargin |
                               AutoresizingMask::FlexibleTopMargin | AutoresizingMask::FlexibleBottomMargin);
    overlay->addSubview(panel);
    return overlay;
}

void AlertView::dismiss(int buttonIndex, bool animated) {
    if (!isVisible())
        return;
    const std::shared_ptr<AlertView> keep = shared_from_this();
    std::erase(shown(), keep);
    const std::shared_ptr<AlertViewDelegate> delegate = m_delegate.lock();
    if (delegate)
        delegate->alertViewClickedButton(*this, buttonIndex);
    const std::shared_ptr<View> overlay = std::move(m_overlay);
    auto gone = [keep, overlay, buttonIndex](bool) {
        if (overlay)
            overlay->removeFromSuperview();
        if (const std::shared_ptr<AlertViewDelegate> delegate = keep->m_delegate.lock())
            delegate->alertViewDidDismiss(*keep, buttonIndex);
    };
    if (animated && overlay)
        animate(
            {.duration = fadeDuration}, [&] { overlay->setAlpha(0); }, std::move(gone));
    else
        gone(true);
}

} // namespace ui
