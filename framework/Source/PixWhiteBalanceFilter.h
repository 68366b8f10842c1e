#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The colour's Q (of YIQ) shifted by "tint", then mixed with a warm overlay by "temperature".
extern const char* const PixWhiteBalanceFragmentShader;

// Warms or cools the picture as a colour temperature in kelvin would (5000 is neutral; lower warms),
// and shifts its tint between green (negative) and magenta (positive).
class PixWhiteBalanceFilter : public PixFilter {
public:
    static std::shared_ptr<PixWhiteBalanceFilter> create();

    // 5000 at first.
    int temperature() const { return m_temperature; }
    void setTemperature(int newValue);
    // 0 at first; -200 to 200 is a useful range.
    int tint() const { return m_tint; }
    void setTint(int newValue);

protected:
    PixWhiteBalanceFilter();

private:
    GLint m_temperatureUniform = -1;
    GLint m_tintUniform = -1;
    int m_temperature = 5000;
    int m_tint = 0;
};

} // namespace zm
