#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace zm {

// A row of white dots, one per page, centred in the view; the current page's dot is opaque, the others
// faint. Dots are 0.8 of the view's height across, 0.3 of it apart.
//
// Main thread only.
class CustomPageControlView : public ui::View {
public:
    // Made in code: no pages, so nothing is drawn until pages are set.
    static std::shared_ptr<CustomPageControlView> create(const core::Rect& frame = {});
    // The interface-file way: the tutorial's four pages, the first current.
    static std::shared_ptr<CustomPageControlView> createFromInterfaceFile();

    unsigned totalPages() const { return m_totalPages; }
    // Takes effect at the next redraw.
    void setTotalPages(unsigned pages) { m_totalPages = pages; }
    unsigned currentPage() const { return m_currentPage; }
    void setCurrentPage(unsigned page);

    // Where the dot of page `index` sits in a view of `bounds` with `pages` dots: its centre and its
    // diameter.
    struct Dot {
        core::Point center;
        float diameter = 0;
    };
    static Dot dot(const core::Rect& bounds, unsigned pages, unsigned index);

protected:
    explicit CustomPageControlView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    unsigned m_totalPages = 0;
    unsigned m_currentPage = 0;
};

} // namespace zm
