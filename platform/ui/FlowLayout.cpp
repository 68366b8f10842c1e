#include "platform/ui/FlowLayout.h"

#include <algorithm>
#include <numeric>

namespace ui {

namespace {

// A size or point seen along the flow ("main") and across it.
struct Span {
    float main;
    float cross;
};

} // namespace

std::optional<core::Rect> FlowLayout::Result::frame(const IndexPath& indexPath) const {
    if (indexPath.section < 0 || size_t(indexPath.section) >= frames.size())
        return std::nullopt;
    const std::vector<core::Rect>& section = frames[size_t(indexPath.section)];
    if (indexPath.item < 0 || size_t(indexPath.item) >= section.size())
        return std::nullopt;
    return section[size_t(indexPath.item)];
}

FlowLayout::Result
FlowLayout::layOut(const std::vector<int>& counts, core::Size viewSize,
                   const std::function<std::optional<core::Size>(const IndexPath&)>& sizeOf) const {
    const bool horizontal = scrollDirection == ScrollDirection::Horizontal;
    auto span = [horizontal](core::Size size) {
        return horizontal ? Span{size.width, size.height} : Span{size.height, size.width};
    };
    auto rect = [horizontal](Span origin, Span size) {
        return horizontal ? core::Rect{origin.main, origin.cross, size.main, size.cross}
                          : core::Rect{origin.cross, origin.main, size.cross, size.main};
    };
    const float leadInset = horizontal ? sectionInset.left : sectionInset.top;
    const float trailInset = horizontal ? sectionInset.right : sectionInset.bottom;
    const float crossStart = horizontal ? sectionInset.top : sectionInset.left;
    const float crossEnd = horizontal ? sectionInset.bottom : sectionInset.right;
    const float available = std::max(0.0f, span(viewSize).cross - crossStart - crossEnd);

    Result result;
    float position = 0; // along the flow
    for (size_t section = 0; section < counts.size(); ++section) {
        std::vector<Span> sizes;
        for (int item = 0; item < std::max(0, counts[section]); ++item) {
            const std::optional<core::Size> own = sizeOf ? sizeOf({int(section), item}) : std::nullopt;
            const core::Size size = own ? *own : itemSize;
            sizes.push_back(span({std::max(0.0f, size.width), std::max(0.0f, size.height)}));
        }
        std::vector<core::Rect>& frames = result.frames.emplace_back(sizes.size());
        position += leadInset;
        size_t first = 0;
        while (first < sizes.size()) {
            // A line takes items while they fit across it, and always at least one.
            size_t end = first + 1;
            float used = sizes[first].cross;
            while (end < sizes.size() && used + minimumInteritemSpacing + sizes[end].cross <= available) {
                used += minimumInteritemSpacing + sizes[end].cross;
                ++end;
            }
            float thickness = 0;
            for (size_t i = first; i < end; ++i)
                thickness = std::max(thickness, sizes[i].main);
            const size_t count = end - first;
            const float content =
                std::accumulate(sizes.begin() + std::ptrdiff_t(first), sizes.begin() + std::ptrdiff_t(end),
                                0.0f, [](float sum, const Span& size) { return sum + size.cross; });
            const float gap = count > 1 ? (available - content) / float(count - 1) : 0;
            float across = count > 1 ? crossStart : crossStart + std::max(0.0f, (available - content) / 2);
            for (size_t i = first; i < end; ++i) {
                frames[i] = rect({position + (thickness - sizes[i].main) / 2, across}, sizes[i]);
                across += sizes[i].cross + gap;
            }
            position += thickness;
            first = end;
            if (first < sizes.size())
                position += minimumLineSpacing;
        }
        position += trailInset;
    }
    const Span view = span(viewSize);
    result.contentSize = horizontal ? core::Size{position, view.cross} : core::Size{view.cross, position};
    return result;
}

} // namespace ui
