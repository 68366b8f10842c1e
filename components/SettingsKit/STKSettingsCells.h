#pragma once

#include "components/SettingsKit/STKKeyedControls.h"
#include "platform/ui/TableViewCell.h"

namespace ui {
class ImageView;
}

namespace zm {

// The settings screen's own cells.

// A slider across the row, between an optional image at each end.
class STKPSSliderSpecifierViewCell : public ui::TableViewCell {
public:
    static std::shared_ptr<STKPSSliderSpecifierViewCell> create(std::string reuseIdentifier);

    STKSlider& slider() const { return *m_slider; }
    ui::ImageView& minImage() const { return *m_minImage; }
    ui::ImageView& maxImage() const { return *m_maxImage; }

    void prepareForReuse() override;

protected:
    explicit STKPSSliderSpecifierViewCell(std::string reuseIdentifier);

    void layoutSubviews() override;

private:
    std::shared_ptr<STKSlider> m_slider;
    std::shared_ptr<ui::ImageView> m_minImage;
    std::shared_ptr<ui::ImageView> m_maxImage;
};

// A title and, after it, a text field that edits the value.
class STKPSTextFieldSpecifierViewCell : public ui::TableViewCell {
public:
    static std::shared_ptr<STKPSTextFieldSpecifierViewCell> create(std::string reuseIdentifier);

    STKTextField& textField() const { return *m_textField; }

protected:
    explicit STKPSTextFieldSpecifierViewCell(std::string reuseIdentifier);

    void layoutSubviews() override;

private:
    std::shared_ptr<STKTextField> m_textField;
};

// A title and a value, the value placed after the title when it is left-aligned.
class STKPSTitleValueSpecifierViewCell : public ui::TableViewCell {
public:
    static std::shared_ptr<STKPSTitleValueSpecifierViewCell> create(std::string reuseIdentifier);

protected:
    using ui::TableViewCell::TableViewCell;

    void layoutSubviews() override;
};

} // namespace zm
