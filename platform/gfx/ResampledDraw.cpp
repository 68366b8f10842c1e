#include "platform/gfx/ResampledDraw.h"

#include "platform/gfx/RowBands.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>

#include <cairo.h>
#include <pixman.h>

namespace gfx::detail {
namespace {

// Pixman keeps the part's position in 16.16 fixed point: a step of its scale is off by up to 2^-17,
// which adds up along a row. The position is worked out afresh at the corner of every tile of this many
// pixels (counted from the part's first pixel, so the tiles do not depend on the clip), which keeps it
// within a small fraction of a smoothing step.
constexpr int kTile = 512;
// Bands of rows start at multiples of this many rows of the image.
constexpr int kBandRows = 32;
// Fewer pixels than this are drawn by the calling thread alone: sharing them costs more than it saves.
constexpr std::int64_t kSharedPixels = std::int64_t{1} << 18;

pixman_format_code_t pixmanFormat(cairo_surface_t* surface) {
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
        return pixman_format_code_t(0);
    switch (cairo_image_surface_get_format(surface)) {
    case CAIRO_FORMAT_ARGB32:
        return PIXMAN_a8r8g8b8;
    case CAIRO_FORMAT_RGB24:
        return PIXMAN_x8r8g8b8;
    default:
        return pixman_format_code_t(0);
    }
}

bool isPixelForPixel(const ResampledPart& part) {
    return part.x2 - part.x1 == part.sw && part.y2 - part.y1 == part.sh && part.x1 == std::floor(part.x1) &&
           part.y1 == std::floor(part.y1);
}

pixman_fixed_t fixed(double value) {
    return pixman_fixed_t(std::lround(value * 65536));
}

int floorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// Pixels [from, to) that an interval covers alike.
struct Run {
    int from = 0;
    int to = 0;
    double coverage = 0;
};

// The pixels of [0, limit) that [a, b) covers: a partly covered one at each end, and those wholly
// covered between them.
struct Runs {
    std::array<Run, 3> runs;
    int count = 0;

    Runs(double a, double b, int limit) {
        const double first = std::floor(a);
        const double last = std::floor(b);
        if (first == last) {
            add(first, b - a, limit);
            return;
        }
        const double inner = a > first ? first + 1 : first;
        if (a > first)
            add(first, first + 1 - a, limit);
        if (last > inner)
            add(inner, 1, limit, last - inner);
        if (b > last)
            add(last, b - last, limit);
    }

private:
    void add(double from, double coverage, int limit, double length = 1) {
        const double to = std::min(from + length, double(limit));
        from = std::max(from, 0.0);
        if (to > from && coverage > 0)
            runs[size_t(count++)] = {int(from), int(to), std::min(coverage, 1.0)};
    }
};

// What one thread composites with: pixman images of its own over the same pixels (pixman writes to an
// image while it composites), made before the bands start so that helpers allocate nothing.
class Worker {
public:
    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() {
        for (pixman_image_t* image : {m_source, m_image})
            if (image)
                pixman_image_unref(image);
        for (pixman_image_t* mask : m_masks)
            if (mask)
                pixman_image_unref(mask);
    }

    void prepare(cairo_surface_t* image, const ResampledPart& part, const std::array<std::uint16_t, 9>& alphas) {
        auto* const pixels = cairo_image_surface_get_data(part.picture);
        const int stride = cairo_image_surface_get_stride(part.picture);
        m_source = pixman_image_create_bits(pixmanFormat(part.picture), part.sw, part.sh,
                                            reinterpret_cast<std::uint32_t*>(pixels + std::ptrdiff_t{part.sy} * stride +
                                                                             std::ptrdiff_t{part.sx} * 4),
                                            stride);
        m_image = pixman_image_create_bits(pixmanFormat(image), cairo_image_surface_get_width(image),
                                           cairo_image_surface_get_height(image),
                                           reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(image)),
                                           cairo_image_surface_get_stride(image));
        pixman_image_set_filter(m_source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(m_source, PIXMAN_REPEAT_PAD);
        for (size_t i = 0; i < alphas.size(); ++i) {
            if (alphas[i] > 0 && alphas[i] < 0xffff) {
                const pixman_color_t color{0, 0, 0, alphas[i]};
                m_masks[i] = pixman_image_create_solid_fill(&color);
            }
        }
    }

    bool ready() const { return m_source && m_image; }

    // Composites the part over pixels [x1, x2) x [y1, y2), with the mask of the runs' alpha, tile by tile
    // (in one go when it is put down pixel for pixel, on pixels).
    void composite(const ResampledPart& part, int tileLeft, int tileTop, int x1, int y1, int x2, int y2, size_t mask) {
        if (isPixelForPixel(part)) {
            pixman_image_composite32(PIXMAN_OP_OVER, m_source, m_masks[mask], m_image, x1 - tileLeft, y1 - tileTop, 0, 0,
                                     x1, y1, x2 - x1, y2 - y1);
            return;
        }
        for (int y = y1; y < y2;) {
            const int oy = tileTop + floorDiv(y - tileTop, kTile) * kTile;
            const int rowsEnd = std::min(y2, oy + kTile);
            for (int x = x1; x < x2;) {
                const int ox = tileLeft + floorDiv(x - tileLeft, kTile) * kTile;
                const int columnsEnd = std::min(x2, ox + kTile);
                useTile(part, ox, oy);
                pixman_image_composite32(PIXMAN_OP_OVER, m_source, m_masks[mask], m_image, x - ox, y - oy, 0, 0, x, y,
                                         columnsEnd - x, rowsEnd - y);
                x = columnsEnd;
            }
            y = rowsEnd;
        }
    }

private:
    // Maps the pixels of the tile at (ox, oy), counted from its corner, to the part's.
    void useTile(const ResampledPart& part, int ox, int oy) {
        if (ox == m_tileX && oy == m_tileY)
            return;
        m_tileX = ox;
        m_tileY = oy;
        const double scaleX = part.sw / (part.x2 - part.x1);
        const double scaleY = part.sh / (part.y2 - part.y1);
        pixman_transform_t transform;
        pixman_transform_init_scale(&transform, fixed(scaleX), fixed(scaleY));
        transform.matrix[0][2] = fixed((ox - part.x1) * scaleX);
        transform.matrix[1][2] = fixed((oy - part.y1) * scaleY);
        pixman_image_set_transform(m_source, &transform);
    }

    pixman_image_t* m_source = nullptr;
    pixman_image_t* m_image = nullptr;
    // By row run and column run; nullptr where the alpha is whole (or nothing is drawn).
    std::array<pixman_image_t*, 9> m_masks{};
    int m_tileX = INT_MIN;
    int m_tileY = INT_MIN;
};

} // namespace

bool drawResampled(cairo_surface_t* image, const ResampledPart& part, std::span<const PixelBox> boxes,
                   Small small) {
    if (!pixmanFormat(image) || !pixmanFormat(part.picture))
        return false;
    if (!(part.sw > 0 && part.sh > 0 && part.x2 > part.x1 && part.y2 > part.y1 && part.alpha > 0))
        return true;
    const Runs columns(part.x1, part.x2, cairo_image_surface_get_width(image));
    const Runs rows(part.y1, part.y2, cairo_image_surface_get_height(image));
    if (columns.count == 0 || rows.count == 0)
        return true;

    // Each run pair's alpha in sixteen bits, as pixman takes it; 0 where nothing shows.
    std::array<std::uint16_t, 9> alphas{};
    for (int row = 0; row < rows.count; ++row)
        for (int column = 0; column < columns.count; ++column) {
            const double alpha = double(part.alpha) * rows.runs[size_t(row)].coverage *
                                 columns.runs[size_t(column)].coverage;
            const auto value = std::uint16_t(std::clamp(std::lround(alpha * 0xffff), 0L, 0xffffL));
            alphas[size_t(row * 3 + column)] = value >= 0x100 ? value : 0; // below one step of eight bits
        }

    // The pixels drawn: the runs' box within the clip.
    const Run& left = columns.runs[0];
    const Run& right = columns.runs[size_t(columns.count - 1)];
    const Run& top = rows.runs[0];
    const Run& bottom = rows.runs[size_t(rows.count - 1)];
    PixelBox drawn{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const PixelBox& box : boxes) {
        const PixelBox cut{std::max(box.x1, left.from), std::max(box.y1, top.from), std::min(box.x2, right.to),
                           std::min(box.y2, bottom.to)};
        if (cut.x1 < cut.x2 && cut.y1 < cut.y2)
            drawn = {std::min(drawn.x1, cut.x1), std::min(drawn.y1, cut.y1), std::max(drawn.x2, cut.x2),
                     std::max(drawn.y2, cut.y2)};
    }
    if (drawn.x1 >= drawn.x2)
        return true;

    const bool shared = std::int64_t{drawn.x2 - drawn.x1} * (drawn.y2 - drawn.y1) >= kSharedPixels;
    if (!shared && small == Small::Leave)
        return false;
    std::array<Worker, kBandWorkers> workers;
    for (int worker = 0; worker < (shared ? kBandWorkers : 1); ++worker) {
        workers[size_t(worker)].prepare(image, part, alphas);
        if (!workers[size_t(worker)].ready())
            return true; // out of memory: the part is left out
    }
    cairo_surface_flush(image);
    cairo_surface_flush(part.picture);

    const int tileLeft = int(std::floor(part.x1));
    const int tileTop = int(std::floor(part.y1));
    auto drawRows = [&](int worker, int from, int to) {
        for (int row = 0; row < rows.count; ++row) {
            const Run& rowRun = rows.runs[size_t(row)];
            const int y1 = std::max(from, rowRun.from);
            const int y2 = std::min(to, rowRun.to);
            for (int column = 0; y1 < y2 && column < columns.count; ++column) {
                const size_t mask = size_t(row * 3 + column);
                if (alphas[mask] == 0)
                    continue;
                const Run& columnRun = columns.runs[size_t(column)];
                for (const PixelBox& box : boxes) {
                    const PixelBox cut{std::max(box.x1, columnRun.from), std::max(box.y1, y1),
                                       std::min(box.x2, columnRun.to), std::min(box.y2, y2)};
                    if (cut.x1 < cut.x2 && cut.y1 < cut.y2)
                        workers[size_t(worker)].composite(part, tileLeft, tileTop, cut.x1, cut.y1, cut.x2, cut.y2,
                                                          mask);
                }
            }
        }
    };
    if (shared) {
        const int firstBand = floorDiv(drawn.y1, kBandRows);
        const int bands = floorDiv(drawn.y2 - 1, kBandRows) - firstBand + 1;
        shareBands(bands, [&](int worker, int band) {
            drawRows(worker, std::max(drawn.y1, (firstBand + band) * kBandRows),
                     std::min(drawn.y2, (firstBand + band + 1) * kBandRows));
        });
    } else {
        drawRows(0, drawn.y1, drawn.y2);
    }
    cairo_surface_mark_dirty_rectangle(image, drawn.x1, drawn.y1, drawn.x2 - drawn.x1, drawn.y2 - drawn.y1);
    return true;
}

} // namespace gfx::detail
