#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Cuts every component, alpha included, into "colorLevels" steps: floor(c x levels + 0.5) / levels.
extern const char* const PixPosterizeFragmentShader;

// A print of few colours: each channel keeps only a few levels.
class PixPosterizeFilter : public PixFilter {
public:
    static std::shared_ptr<PixPosterizeFilter> create();

    // How many steps each channel is cut into; 10 at first. 0 acts as 1.
    unsigned colorLevels() const { return m_colorLevels; }
    void setColorLevels(unsigned newValue);

protected:
    PixPosterizeFilter();

private:
    GLint m_colorLevelsUniform = -1;
    unsigned m_colorLevels = 10;
};

} // namespace zm
