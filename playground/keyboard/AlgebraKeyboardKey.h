#pragma once

#include "platform/core/Color.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace zm {

// One key of the algebra keyboard: a rounded face over a thin shadow, with the key's text in a label,
// or the delete symbol on the delete key (the key of the empty string). "xyz" and "123" are the
// switcher keys that change the pad.
//
// A key handles no touches itself: they go on up to the keyboard screen, which finds the key under the
// finger and tells it whether it is touched and whether it can be pressed. Sizes follow the device:
// phone or tablet, read when a key is made or labelled.
class AlgebraKeyboardKey : public ui::View {
public:
    // The face of an idle key; the dark face of switcher keys, of touched keys and of the delete key
    // while it is not touched; the shadow under a key; a label that cannot be pressed.
    static constexpr core::Color kIdleFaceColor = core::Color::rgb255(249, 249, 250);
    static constexpr core::Color kDarkFaceColor = core::Color::rgb255(194, 197, 201);
    static constexpr core::Color kShadowColor = core::Color::rgb255(132, 134, 136);
    static constexpr core::Color kDisabledTextColor = kDarkFaceColor;

    static std::shared_ptr<AlgebraKeyboardKey> create(const core::Rect& frame);

    const std::string& keyString() const { return m_keyString; }
    // Also shows it in the label, raised or lowered for the sign it is (adjustInsets).
    void setKeyString(std::string keyString);
    const std::shared_ptr<ui::Label>& label() const { return m_label; }

    // Touched keys are drawn dark (the delete key the other way round).
    bool touching() const { return m_touching; }
    void setTouching(bool touching);
    // A key that cannot be pressed shows a grey label and is passed over by the keyboard.
    bool canPress() const { return m_canPress; }
    void setCanPress(bool canPress);

    bool isDeleteKey() const { return m_keyString.empty(); }
    bool isSwitcherKey() const { return m_keyString == "xyz" || m_keyString == "123"; }

    // Sets the label over the key less `v` at the bottom, so that its text sits `v`/2 higher (a
    // negative `v` lowers it).
    void moveLabelUp(float v);
    // Raises the label of the signs that sit low in their font (and lowers "*"); the other keys keep
    // it over the whole key.
    void adjustInsets();

protected:
    AlgebraKeyboardKey(const core::Rect& frame, float labelFontSize);

    void draw(gfx::Canvas& canvas) override;

    // Puts `label` in place of the key's label.
    void setLabel(std::shared_ptr<ui::Label> label);
    // A label with centred text in the keyboard's font at `size`.
    static std::shared_ptr<ui::Label> makeLabel(const core::Rect& frame, float size);
    // Whether the keyboard runs on a tablet (else on a phone).
    static bool onTablet();

private:
    bool drawsDark() const;
    void drawDeleteSymbol(gfx::Canvas& canvas) const;

    std::string m_keyString;
    std::shared_ptr<ui::Label> m_label;
    bool m_touching = false;
    bool m_canPress = true;
};

} // namespace zm
