#pragma once

#include "framework/Source/PixBuffer.h"
#include "framework/Source/PixDissolveBlendFilter.h"
#include "framework/Source/PixFilterGroup.h"

namespace zm {

// A running average of a stream: each output is mix(frame, previous output, filterStrength), the
// previous output coming back through a one-frame buffer. The first frame mixes with transparent black.
class PixLowPassFilter : public PixFilterGroup {
public:
    static std::shared_ptr<PixLowPassFilter> create();
    ~PixLowPassFilter() override;

    // How much of the past each output keeps, 0 to 1; 0.5 at first.
    float filterStrength() const { return m_dissolveBlendFilter->mix(); }
    void setFilterStrength(float newValue) { m_dissolveBlendFilter->setMix(newValue); }

protected:
    PixLowPassFilter();

private:
    const std::shared_ptr<PixBuffer> m_bufferFilter;
    const std::shared_ptr<PixDissolveBlendFilter> m_dissolveBlendFilter;
};

} // namespace zm
