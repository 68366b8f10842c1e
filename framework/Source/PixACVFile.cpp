#include "framework/Source/PixACVFile.h"

#include "platform/core/Log.h"

#include <string>

namespace zm {

namespace {

// Big-endian 16-bit words of the data, and whether the data held every one asked for.
class WordReader {
public:
    explicit WordReader(std::span<const std::uint8_t> data)
        : m_data(data) {}

    bool next(std::uint16_t& word) {
        if (m_position + 2 > m_data.size())
            return false;
        word = static_cast<std::uint16_t>((m_data[m_position] << 8) | m_data[m_position + 1]);
        m_position += 2;
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};

PixACVFile refused(std::span<const std::uint8_t> data, const char* reason) {
    core::log(core::LogLevel::Error,
              "failed to init ACVFile with data: " + std::to_string(data.size()) + " bytes (" + reason + ")");
    return {};
}

} // namespace

PixACVFile PixACVFile::read(std::span<const std::uint8_t> data) {
    if (data.empty())
        return refused(data, "empty");
    WordReader reader(data);
    std::uint16_t version = 0, count = 0;
    if (!reader.next(version) || !reader.next(count))
        return refused(data, "shorter than its header");
    PixACVFile file;
    file.version = static_cast<std::int16_t>(version);
    file.totalCurves = static_cast<std::int16_t>(count);
    if (file.totalCurves < 0)
        return refused(data, "a negative curve count");

    std::vector<std::vector<core::Point>> curves;
    for (int curve = 0; curve < file.totalCurves; ++curve) {
        std::uint16_t pointCount = 0;
        if (!reader.next(pointCount))
            return refused(data, "shorter than its curves");
        std::vector<core::Point> points;
        for (int point = 0; point < pointCount; ++point) {
            std::uint16_t output = 0, input = 0;
            if (!reader.next(output) || !reader.next(input))
                return refused(data, "shorter than its points");
            points.push_back({input * (1.0f / 255), output * (1.0f / 255)});
        }
        curves.push_back(std::move(points));
    }
    Curve* const named[] = {&file.rgbCompositeCurvePoints, &file.redCurvePoints, &file.greenCurvePoints,
                            &file.blueCurvePoints};
    for (std::size_t index = 0; index < 4 && index < curves.size(); ++index)
        *named[index] = std::move(curves[index]);
    return file;
}

} // namespace zm
