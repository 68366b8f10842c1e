#include "components/SettingsKit/STKSettingsCells.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

// Room before a value or field, for a title.
constexpr float kTitleColumn = 97;
constexpr float kMaxTitleWidth = 240;

float naturalWidth(const ui::Label& label) {
    return label.sizeThatFits({ui::TableViewCell::kDefaultHeight * 100, ui::TableViewCell::kDefaultHeight}).width;
}

} // namespace

// Slider.

std::shared_ptr<STKPSSliderSpecifierViewCell> STKPSSliderSpecifierViewCell::create(std::string reuseIdentifier) {
    return std::shared_ptr<STKPSSliderSpecifierViewCell>(new STKPSSliderSpecifierViewCell(std::move(reuseIdentifier)));
}

STKPSSliderSpecifierViewCell::STKPSSliderSpecifierViewCell(std::string reuseIdentifier)
    : TableViewCell(Style::Default, std::move(reuseIdentifier))
    , m_slider(STKSlider::create({0, 0, 0, 23}))
    , m_minImage(ui::ImageView::create({0, 0, 21, 21}))
    , m_maxImage(ui::ImageView::create({0, 0, 21, 21})) {
    m_slider->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleBottomMargin);
    m_slider->setContinuous(false);
    m_minImage->setAutoresizingMask(ui::AutoresizingMask::FlexibleRightMargin | ui::AutoresizingMask::FlexibleBottomMargin);
    m_maxImage->setAutoresizingMask(ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleBottomMargin);
    contentView().addSubview(m_slider);
    contentView().addSubview(m_minImage);
    contentView().addSubview(m_maxImage);
    setSelectionStyle(SelectionStyle::None);
}

void STKPSSliderSpecifierViewCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    m_minImage->setImage(nullptr);
    m_maxImage->setImage(nullptr);
}

void STKPSSliderSpecifierViewCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const core::Rect content = contentView().bounds();
    float centerX = content.width() / 2;
    float width = content.width() - 22;
    m_minImage->setHidden(true);
    m_maxImage->setHidden(true);
    if (m_minImage->image()) {
        m_minImage->setHidden(false);
        centerX += 16;
        width -= 32;
        m_minImage->setCenter({m_minImage->bounds().width() / 2 + 9, content.midY()});
    }
    if (m_maxImage->image()) {
        m_maxImage->setHidden(false);
        centerX -= 16;
        width -= 32;
        m_maxImage->setCenter({content.width() - m_maxImage->bounds().width() / 2 - 10, content.midY()});
    }
    m_slider->setBounds({0, 0, std::max(0.0f, width), m_slider->bounds().height()});
    m_slider->setCenter({centerX, content.midY()});
}

// Text field.

std::shared_ptr<STKPSTextFieldSpecifierViewCell> STKPSTextFieldSpecifierViewCell::create(std::string reuseIdentifier) {
    return std::shared_ptr<STKPSTextFieldSpecifierViewCell>(
        new STKPSTextFieldSpecifierViewCell(std::move(reuseIdentifier)));
}

STKPSTextFieldSpecifierViewCell::STKPSTextFieldSpecifierViewCell(std::string reuseIdentifier)
    : TableViewCell(Style::Default, std::move(reuseIdentifier))
    , m_textField(STKTextField::create({0, 0, 200, 21})) {
    textLabel().setAutoresizingMask(ui::AutoresizingMask::FlexibleRightMargin | ui::AutoresizingMask::FlexibleBottomMargin |
                                    ui::AutoresizingMask::FlexibleWidth);
    m_textField->setAutoresizingMask(ui::AutoresizingMask::FlexibleLeftMargin | ui::AutoresizingMask::FlexibleBottomMargin |
                                     ui::AutoresizingMask::FlexibleWidth);
    m_textField->setFont(gfx::Font::system(17));
    m_textField->setMinimumFontSize(12);
    m_textField->setTextColor(core::Color::rgba(0.275f, 0.376f, 0.522f));
    contentView().addSubview(m_textField);
    setSelectionStyle(SelectionStyle::None);
}

void STKPSTextFieldSpecifierViewCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const core::Rect content = contentView().bounds();
    ui::Label& title = textLabel();
    const float imageRoom = imageView().image() ? imageView().bounds().width() + 9 : 0;
    const float titleWidth = std::max(naturalWidth(title), kTitleColumn - imageRoom);
    core::Rect titleFrame = title.frame();
    titleFrame.size.width = std::min(titleWidth, kMaxTitleWidth);
    title.setFrame(titleFrame);

    core::Rect field = m_textField->frame();
    field.origin.y = content.midY() - field.height() / 2;
    if (!title.text().empty()) {
        field.origin.x = m_textField->textAlignment() == gfx::TextAlignment::Right
                             ? titleFrame.minX() + titleWidth + 5
                             : titleFrame.minX() + std::max(kTitleColumn - imageRoom, titleFrame.width()) + 5;
        field.size.width = content.width() - field.minX() - 10;
    } else {
        field.origin.x = imageRoom + 9;
        field.size.width = content.width() - 18 - imageRoom;
    }
    m_textField->setFrame(field);
}

// Title and value.

std::shared_ptr<STKPSTitleValueSpecifierViewCell> STKPSTitleValueSpecifierViewCell::create(std::string reuseIdentifier) {
    return std::shared_ptr<STKPSTitleValueSpecifierViewCell>(
        new STKPSTitleValueSpecifierViewCell(Style::Value, std::move(reuseIdentifier)));
}

void STKPSTitleValueSpecifierViewCell::layoutSubviews() {
    TableViewCell::layoutSubviews();
    const core::Rect content = contentView().bounds();
    const float width = content.width();
    const float height = content.height();
    const float imageRoom = imageView().image() ? std::floor(imageView().frame().maxX()) : 0;
    ui::Label& title = textLabel();
    ui::Label& value = detailTextLabel();
    const bool hasValue = !value.text().empty();
    const float natural = naturalWidth(title);
    const float titleWidth = hasValue ? std::min(natural, width - 40 - 19 - imageRoom) : width - 19 - imageRoom;
    title.setFrame({imageRoom + 9, 0, std::max(0.0f, titleWidth), height - 2});
    if (title.text().empty()) {
        value.setFrame({imageRoom + 9, 0, std::max(0.0f, width - 19 - imageRoom), height - 2});
        return;
    }
    if (value.textAlignment() != gfx::TextAlignment::Left)
        return;
    const float t = std::min(natural, width - (hasValue ? 40.0f : 0.0f) - 19 - imageRoom);
    core::Rect frame = value.frame();
    frame.origin.x = imageRoom + 9 + std::max(kTitleColumn - imageRoom, t + 5);
    frame.size.width = std::max(0.0f, width - frame.minX() - 10);
    value.setFrame(frame);
}

} // namespace zm
