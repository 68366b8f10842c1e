#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/LDPlaygroundView.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/GenericView.h"

namespace zm {

namespace {

// The refusal: 20 points to the left and back, one and a half times.
constexpr float kShakeDistance = 20;
constexpr double kShakeDuration = 0.1;
constexpr double kShakeRepeats = 1.5;

} // namespace

void LDPlaygroundMain::failAnimation() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host)
        return;
    host->didErrorStep();
    ViewList views;
    for (const std::shared_ptr<ExprViewSoloist>& digit : m_upDigits) {
        const ViewList own = digit->getViewList();
        views.insert(views.end(), own.begin(), own.end());
    }
    const std::weak_ptr<LDPlaygroundMain> weakSelf = std::static_pointer_cast<LDPlaygroundMain>(shared_from_this());
    ui::animate(
        {.duration = kShakeDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState |
                    ui::AnimationOptions::Repeat | ui::AnimationOptions::Autoreverse,
         .repeatCount = kShakeRepeats},
        [&views] {
            for (const std::shared_ptr<ui::View>& view : views) {
                const core::Point topLeft = viewPointAtPosition(*view, AnchorTopLeft);
                moveViewTo(*view, {topLeft.x - kShakeDistance, topLeft.y}, AnchorTopLeft);
            }
        },
        [weakSelf](bool) {
            const std::shared_ptr<LDPlaygroundMain> self = weakSelf.lock();
            if (!self)
                return;
            self->clearUpDigits();
            self->moveToFinalStateAnimated(true);
            if (!self->demoMode())
                self->stopGhostAnimation();
        });
}

void LDPlaygroundMain::insertSegmentsUpToNumSegment(uint32_t, bool, bool) {}
void LDPlaygroundMain::dropDigitForNumSegment(uint32_t) {}
void LDPlaygroundMain::animateCorrectGhost() {}
void LDPlaygroundMain::stopGhostAnimation() {}
void LDPlaygroundMain::checkGhostOverlap() {}

} // namespace zm
