#pragma once

#include "framework/Source/PixACVFile.h"
#include "framework/Source/PixFilter.h"

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

namespace zm {

// Maps each colour channel through a curve, as a photo editor's curves tool does: a curve each for red,
// green and blue, then a composite curve over all three. A curve is given by control points (x input, y
// output, both 0 to 1) and drawn as a natural cubic spline; the curves are baked into a 256 x 1 table.
// At first every curve runs through (0, 0), (0.5, 0.5) and (1, 1): the identity.
class PixToneCurveFilter : public PixFilter {
public:
    using ControlPoints = std::vector<core::Point>;

    static std::shared_ptr<PixToneCurveFilter> create();
    // The curves of a curve file ("acv"), or of its bytes. Curves the file lacks, or all of them when it
    // cannot be read (logged), stay the identity.
    static std::shared_ptr<PixToneCurveFilter> createWithACVURL(const std::filesystem::path& curveFile);
    static std::shared_ptr<PixToneCurveFilter> createWithACVData(std::span<const std::uint8_t> curveData);
    ~PixToneCurveFilter() override;

    // The same for an existing filter.
    void setPointsWithACV(std::span<const std::uint8_t> curveData);
    void setPointsWithACVURL(const std::filesystem::path& curveFile);

    // Each setter redraws its curve; one of fewer than two points (or absent) leaves the table as it was.
    ControlPoints rgbCompositeControlPoints() const;
    void setRgbCompositeControlPoints(ControlPoints points);
    ControlPoints redControlPoints() const;
    void setRedControlPoints(ControlPoints points);
    ControlPoints greenControlPoints() const;
    void setGreenControlPoints(ControlPoints points);
    ControlPoints blueControlPoints() const;
    void setBlueControlPoints(ControlPoints points);
    // The same points for red, green and blue at once.
    void setRGBControlPoints(ControlPoints points);

    // The table as baked: per input level, blue, green, red and alpha.
    std::array<std::uint8_t, 1024> toneCurveBytes() const;

protected:
    PixToneCurveFilter();

    void setAdditionalInputsForDraw() override;

private:
    enum Channel { Composite, Red, Green, Blue };

    void setPoints(Channel channel, ControlPoints points);
    void applyFile(const PixACVFile& file);
    // Bakes the four curves into the table; on the processing queue.
    void updateToneCurveTexture();

    GLint m_toneCurveTextureUniform = -1;
    // On the processing queue.
    GLuint m_toneCurveTexture = 0;
    std::array<std::uint8_t, 1024> m_toneCurveByteArray{};
    std::array<ControlPoints, 4> m_controlPoints;
    std::array<std::optional<std::vector<float>>, 4> m_curves;
};

} // namespace zm
