#include "platform/ui/TableViewCell.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

constexpr float margin = 15;
// Between a title and its value.
constexpr float valueSpacing = 8;
constexpr float markSize = 22;
const core::Color highlightColor = core::Color::rgb255(217, 217, 217);
const core::Color separatorColor = core::Color::rgb255(200, 199, 204);
const core::Color markColor = core::Color::rgb255(199, 199, 204);
const core::Color tintColor = core::Color::rgb255(0, 122, 255);
const core::Color valueColor = core::Color::rgb255(142, 142, 147);

} // namespace

// The drawn accessory: a chevron, a check mark, or an "i" in a circle beside a chevron, which is a button.
class TableViewCell::AccessoryMark : public Control {
public:
    static std::shared_ptr<AccessoryMark> create(TableViewCell& cell) {
        return std::shared_ptr<AccessoryMark>(new AccessoryMark(cell));
    }

    void show(Accessory accessory) {
        m_accessory = accessory;
        const bool button = accessory == Accessory::DetailDisclosureButton;
        setUserInteractionEnabled(button);
        setHidden(accessory == Accessory::None);
        setBounds({0, 0, button ? 2 * markSize : markSize, markSize});
        setNeedsDisplay();
    }

protected:
    explicit AccessoryMark(TableViewCell& cell)
        : Control({0, 0, markSize, markSize}) {
        addTarget(ControlEvent::TouchUpInside, [&cell](Control&) {
            if (cell.m_accessoryTapped)
                cell.m_accessoryTapped();
        });
    }

    void draw(gfx::Canvas& canvas) override {
        const core::Rect area = bounds();
        canvas.setLineWidth(2);
        canvas.setLineCap(gfx::LineCap::Round);
        canvas.setLineJoin(gfx::LineJoin::Round);
        if (m_accessory == Accessory::Checkmark) {
            canvas.setStrokeColor(tintColor);
            gfx::Path tick;
            tick.moveTo({area.minX() + 4, area.midY()});
            tick.lineTo({area.minX() + 9, area.midY() + 5});
            tick.lineTo({area.maxX() - 4, area.midY() - 6});
            canvas.strokePath(tick);
            return;
        }
        const float chevronX = area.maxX() - 8;
        canvas.setStrokeColor(markColor);
        gfx::Path chevron;
        chevron.moveTo({chevronX - 5, area.midY() - 6});
        chevron.lineTo({chevronX, area.midY()});
        chevron.lineTo({chevronX - 5, area.midY() + 6});
        canvas.strokePath(chevron);
        if (m_accessory != Accessory::DetailDisclosureButton)
            return;
        const core::Rect circle{area.minX() + 2, area.midY() - 9, 18, 18};
        canvas.setStrokeColor(isHighlighted() ? markColor : tintColor);
        canvas.setLineWidth(1);
        canvas.strokePath(gfx::Path::ellipse(circle));
        canvas.setFillColor(isHighlighted() ? markColor : tintColor);
        canvas.drawText("i", gfx::Font::boldSystem(12), circle, {gfx::TextAlignment::Center});
    }

private:
    Accessory m_accessory = Accessory::None;
};

std::shared_ptr<TableViewCell> TableViewCell::create(Style style, std::string reuseIdentifier) {
    return std::shared_ptr<TableViewCell>(new TableViewCell(style, std::move(reuseIdentifier)));
}

TableViewCell::TableViewCell(Style style, std::string reuseIdentifier)
    : View({0, 0, 320, kDefaultHeight})
    , m_style(style)
    , m_reuseIdentifier(std::move(reuseIdentifier))
    , m_contentView(View::create(bounds()))
    , m_textLabel(Label::create())
    , m_detailTextLabel(Label::create())
    , m_imageView(ImageView::create())
    , m_mark(AccessoryMark::create(*this)) {
    setBackgroundColor(core::Color::white());
    setContentMode(ContentMode::Redraw);
    m_textLabel->setFont(gfx::Font::system(17));
    m_detailTextLabel->setFont(gfx::Font::system(17));
    m_detailTextLabel->setTextColor(valueColor);
    m_detailTextLabel->setTextAlignment(gfx::TextAlignment::Right);
    m_detailTextLabel->setHidden(style != Style::Value);
    m_mark->show(Accessory::None);
    addSubview(m_contentView);
    m_contentView->addSubview(m_imageView);
    m_contentView->addSubview(m_textLabel);
    m_contentView->addSubview(m_detailTextLabel);
    addSubview(m_mark);
}

TableViewCell::~TableViewCell() = default;

void TableViewCell::setAccessoryType(Accessory accessory) {
    m_accessory = accessory;
    m_mark->show(m_accessoryView ? Accessory::None : accessory);
    setNeedsLayout();
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view) {
    if (m_accessoryView == view)
        return;
    if (m_accessoryView && m_accessoryView->superview() == this)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_accessoryView)
        addSubview(m_accessoryView);
    setAccessoryType(m_accessory);
}

void TableViewCell::setSelectionStyle(SelectionStyle style) {
    m_selectionStyle = style;
    updateLook(false);
}

void TableViewCell::setHighlighted(bool highlighted, bool animated) {
    m_highlighted = highlighted;
    updateLook(animated);
}

void TableViewCell::setSelected(bool selected, bool animated) {
    m_selected = selected;
    updateLook(animated);
}

void TableViewCell::updateLook(bool animated) {
    const bool marked = m_selectionStyle == SelectionStyle::Default && (m_highlighted || m_selected);
    const core::Color background = marked ? highlightColor : core::Color::white();
    if (animated)
        animate({.duration = 0.3}, [&] { setBackgroundColor(background); });
    else
        setBackgroundColor(background);
}

void TableViewCell::prepareForReuse() {
    m_highlighted = false;
    m_selected = false;
    updateLook(false);
    setAlpha(1);
}

void TableViewCell::layoutSubviews() {
    const core::Rect area = bounds();
    float right = area.maxX();
    if (m_accessoryView) {
        const core::Size size = m_accessoryView->bounds().size;
        right -= margin + size.width;
        m_accessoryView->setCenter({right + size.width / 2, area.midY()});
    } else if (m_accessory != Accessory::None) {
        const core::Size size = m_mark->bounds().size;
        right -= margin + size.width;
        m_mark->setCenter({right + size.width / 2, area.midY()});
    }
    m_contentView->setFrame({area.minX(), area.minY(), std::max(0.0f, right - area.minX()), area.height()});

    const core::Rect content = m_contentView->bounds();
    float left = content.minX() + margin;
    const bool hasImage = m_imageView->image() != nullptr;
    m_imageView->setHidden(!hasImage);
    if (hasImage) {
        const core::Size size = m_imageView->sizeThatFits({});
        m_imageView->setFrame({left, content.midY() - size.height / 2, size.width, size.height});
        left += size.width + margin;
    }
    const float end = content.maxX() - (m_accessory == Accessory::None && !m_accessoryView ? margin : 0);
    const float width = std::max(0.0f, end - left);
    if (m_style == Style::Value && !m_detailTextLabel->text().empty()) {
        // Each label as wide as its text, the value against the right end; a title too long for both
        // gives way to the value.
        const float value = std::min(m_detailTextLabel->sizeThatFits({width, area.height()}).width, width);
        const float title = std::min(m_textLabel->sizeThatFits({width, area.height()}).width,
                                     std::max(0.0f, width - value - valueSpacing));
        m_textLabel->setFrame({left, content.minY(), title, content.height()});
        m_detailTextLabel->setFrame({end - value, content.minY(), value, content.height()});
    } else {
        m_textLabel->setFrame({left, content.minY(), width, content.height()});
        m_detailTextLabel->setFrame({end, content.minY(), 0, content.height()});
    }
}

void TableViewCell::draw(gfx::Canvas& canvas) {
    // The separator under the row, from the text's indent to the edge.
    const core::Rect area = bounds();
    canvas.setFillColor(separatorColor);
    canvas.fillRect({area.minX() + margin, area.maxY() - 0.5f, std::max(0.0f, area.width() - margin), 0.5f});
}

} // namespace ui
