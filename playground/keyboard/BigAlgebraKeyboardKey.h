#pragma once

#include "playground/keyboard/AlgebraKeyboardKey.h"

namespace zm {

// The enlarged copy of a pressed key that pops up above it on a phone: a balloon half as wide again
// as the key and three times as high, whose foot covers the key and whose head shows the key's text
// in a larger font.
class BigAlgebraKeyboardKey : public AlgebraKeyboardKey {
public:
    static std::shared_ptr<BigAlgebraKeyboardKey> create(const AlgebraKeyboardKey& key);

    // The bounds of the key it enlarges.
    const core::Rect& ogBounds() const { return m_ogBounds; }

protected:
    explicit BigAlgebraKeyboardKey(const AlgebraKeyboardKey& key);

    void draw(gfx::Canvas& canvas) override;

private:
    static float headFontSize();

    core::Rect m_ogBounds;
};

} // namespace zm
