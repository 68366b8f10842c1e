#pragma once

#include "platform/ui/View.h"

namespace zm {

// A view that shows a share of work done (0 to 1). The progress overlay hands its progress to an
// indicator of this kind, and a custom indicator may be one too.
class KHProgressIndicator {
public:
    virtual ~KHProgressIndicator() = default;
    virtual void setProgress(float progress) = 0;
};

// The progress overlay's round indicator: a pie that fills clockwise from the top, or, annular, a
// ring drawn as far as the progress over a faint full ring.
class KHRoundProgressView : public ui::View, public KHProgressIndicator {
public:
    // 37 x 37 points at the origin.
    static std::shared_ptr<KHRoundProgressView> create();
    static std::shared_ptr<KHRoundProgressView> create(const core::Rect& frame);

    float progress() const { return m_progress; }
    void setProgress(float progress) override;
    bool isAnnular() const { return m_annular; }
    void setAnnular(bool annular);

protected:
    explicit KHRoundProgressView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    void drawPie(gfx::Canvas& canvas) const;
    void drawRing(gfx::Canvas& canvas) const;

    float m_progress = 0;
    bool m_annular = false;
};

} // namespace zm
