#include "framework/Source/PixToneCurve.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zm {

namespace {

struct Sample {
    double x, y;
};

// The second derivatives of the natural cubic spline through the points (distinct x, ascending).
std::vector<double> secondDerivatives(const std::vector<core::Point>& points) {
    const std::size_t n = points.size();
    std::vector<std::array<double, 3>> matrix(n, {0, 1, 0});
    std::vector<double> result(n, 0);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const core::Point p = points[i - 1], q = points[i], r = points[i + 1];
        matrix[i] = {static_cast<double>(q.x - p.x) / 6, static_cast<double>(r.x - p.x) / 3,
                     static_cast<double>(r.x - q.x) / 6};
        result[i] = static_cast<double>(r.y - q.y) / static_cast<double>(r.x - q.x) -
                    static_cast<double>(q.y - p.y) / static_cast<double>(q.x - p.x);
    }
    for (std::size_t i = 1; i < n; ++i) {
        const double k = matrix[i][0] / matrix[i - 1][1];
        matrix[i][1] -= k * matrix[i - 1][2];
        matrix[i][0] = 0;
        result[i] -= k * result[i - 1];
    }
    for (std::size_t i = n - 1; i-- > 0;) {
        const double k = matrix[i][2] / matrix[i + 1][1];
        matrix[i][1] -= k * matrix[i + 1][0];
        matrix[i][2] = 0;
        result[i] -= k * result[i + 1];
    }
    for (std::size_t i = 0; i < n; ++i)
        result[i] /= matrix[i][1];
    return result;
}

// The spline at each whole level (0 to 255) from the first point on, then the last point itself.
std::vector<Sample> splineSamples(const std::vector<core::Point>& points) {
    const std::vector<double> derivatives = secondDerivatives(points);
    std::vector<Sample> samples;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const double x1 = points[k].x, y1 = points[k].y, x2 = points[k + 1].x, y2 = points[k + 1].y;
        const double h = x2 - x1;
        // Only the levels of the texture are sampled, however far the points reach.
        const double from = std::max(std::trunc(x1), 0.0), to = std::min(std::trunc(x2), 256.0);
        for (double i = from; i < to; ++i) {
            const double t = (i - x1) / h, a = 1 - t;
            const double y = a * y1 + t * y2 +
                             (h * h / 6) * ((a * a * a - a) * derivatives[k] + (t * t * t - t) * derivatives[k + 1]);
            samples.push_back({i, std::clamp(y, 0.0, 255.0)});
        }
    }
    samples.push_back({points.back().x, points.back().y});
    return samples;
}

} // namespace

std::optional<std::vector<float>> preparedSplineCurve(const std::vector<core::Point>& controlPoints) {
    std::vector<core::Point> points;
    for (const core::Point point : controlPoints) {
        const core::Point scaled{point.x * 255, point.y * 255};
        if (std::isfinite(scaled.x) && std::isfinite(scaled.y))
            points.push_back(scaled);
    }
    std::stable_sort(points.begin(), points.end(), [](core::Point a, core::Point b) { return a.x < b.x; });
    // Two points of one x would divide by zero in the spline: the first of them stands.
    points.erase(std::unique(points.begin(), points.end(), [](core::Point a, core::Point b) { return a.x == b.x; }),
                 points.end());
    if (points.size() < 2)
        return std::nullopt;

    // Each sample belongs to its whole level; levels before the first point are 0, after the last 255.
    std::vector<float> curve(256);
    std::vector<bool> sampled(256, false);
    for (const Sample& sample : splineSamples(points)) {
        if (sample.x < 0 || sample.x > 255)
            continue;
        const auto level = static_cast<std::size_t>(sample.x);
        curve[level] = static_cast<float>(sample.y - sample.x);
        sampled[level] = true;
    }
    const std::size_t first = static_cast<std::size_t>(std::find(sampled.begin(), sampled.end(), true) - sampled.begin());
    for (std::size_t level = 0; level < 256; ++level) {
        if (!sampled[level])
            curve[level] = static_cast<float>((level < first ? 0.0 : 255.0) - static_cast<double>(level));
    }
    return curve;
}

} // namespace zm
