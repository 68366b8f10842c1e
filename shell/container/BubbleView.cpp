#include "shell/container/BubbleView.h"

#include "platform/core/Random.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/DynamicAnimator.h"
#include "platform/ui/ImageView.h"
#include "shell/app/Bundle.h"
#include "shell/container/BubbleTuning.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace zm {

namespace {

// A fresh draw modulo `bound`; 0 when the tuning keys leave an empty range.
std::int64_t drawBelow(std::int64_t bound) {
    const std::int64_t draw = core::randomU32();
    return bound > 0 ? draw % bound : 0;
}

std::shared_ptr<ui::MotionEffect> tiltEffect(std::string keyPath, ui::MotionEffect::Axis axis,
                                             std::int64_t range) {
    const auto extent = static_cast<float>(range);
    return std::make_shared<ui::MotionEffect>(ui::MotionEffect{std::move(keyPath), axis, -extent, extent});
}

} // namespace

std::shared_ptr<BubbleView> BubbleView::create(const core::Rect& frame) {
    std::shared_ptr<BubbleView> view(new BubbleView(frame));
    view->reset();
    return view;
}

BubbleView::BubbleView(const core::Rect& frame)
    : View(frame) {
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
}

BubbleView::~BubbleView() = default;

void BubbleView::layoutSubviews() {
    if (bounds().size != m_builtSize)
        reset();
}

void BubbleView::reset() {
    for (const std::shared_ptr<ui::ImageView>& bubble : m_bubbles)
        bubble->removeFromSuperview();
    m_bubbles.clear();
    m_builtSize = bounds().size;

    const BubbleTuning tuning = BubbleTuning::read(core::UserDefaults::standard());
    for (std::int64_t i = 0; i < tuning.numberOfBubbles; ++i)
        addBubble();
    positionBubbles();

    m_animator = std::make_unique<ui::DynamicAnimator>();

    if (m_horiMotionEffect)
        removeMotionEffect(*m_horiMotionEffect);
    if (m_vertMotionEffect)
        removeMotionEffect(*m_vertMotionEffect);
    m_horiMotionEffect =
        tiltEffect("center.x", ui::MotionEffect::Axis::Horizontal, tuning.horizontalParallax);
    m_vertMotionEffect = tiltEffect("center.y", ui::MotionEffect::Axis::Vertical, tuning.verticalParallax);
    addMotionEffect(m_horiMotionEffect);
    addMotionEffect(m_vertMotionEffect);
}

void BubbleView::addBubble() {
    const BubbleTuning tuning = BubbleTuning::read(core::UserDefaults::standard());

    // The later bubbles, past the tuned share, take the second level.
    const double share = double(m_bubbles.size() + 1) / double(tuning.numberOfBubbles) * 100;
    const core::Value& level = share >= double(tuning.blurPercentage) ? tuning.blurLevel2 : tuning.blurLevel;
    // Levels are labels: a second level that equals the first shows the first level's image.
    const char* image = level == tuning.blurLevel ? "bokehBlur17" : "bokehBlur3";

    const auto side = static_cast<float>(
        std::max<std::int64_t>(0, tuning.minRadius + drawBelow(tuning.maxRadius - tuning.minRadius)));
    std::shared_ptr<ui::ImageView> bubble = ui::ImageView::create({0, 0, side, side});
    bubble->setImage(imageNamed(image));
    bubble->setAlpha(float(drawBelow(tuning.maxAlpha - tuning.minAlpha)) / 100 +
                     float(tuning.minAlpha) / 100);
    addSubview(bubble);
    m_bubbles.push_back(std::move(bubble));
}

void BubbleView::positionBubbles() {
    const float halfWidth = bounds().width() / 2;
    const float halfHeight = bounds().height() / 2;
    const std::array<core::Point, 4> quarters = {core::Point{0, 0}, core::Point{halfWidth, 0},
                                                 core::Point{0, halfHeight},
                                                 core::Point{halfWidth, halfHeight}};
    for (size_t i = 0; i < m_bubbles.size(); ++i) {
        const core::Point origin = quarters[i % quarters.size()];
        const auto x = float(drawBelow(std::int64_t(std::floor(halfWidth))));
        const auto y = float(drawBelow(std::int64_t(std::floor(halfHeight))));
        m_bubbles[i]->setCenter({origin.x + x, origin.y + y});
    }
}

void BubbleView::pushBubbles() {
    const core::Rect& area = bounds();
    const core::Point middle{area.midX(), area.midY()};
    for (const std::shared_ptr<ui::ImageView>& bubble : m_bubbles) {
        auto angle = float(double(drawBelow(100)) * 2 * std::numbers::pi / 100);
        const core::Point center = bubble->center();
        if (!area.contains(center))
            angle = std::atan2(middle.y - center.y, middle.x - center.x);
        const core::Size size = bubble->bounds().size;
        const float magnitude = size.width * size.height / 100'000 * (0.5f + float(drawBelow(5)) / 10);
        m_animator->addPush(bubble, angle, magnitude);
    }
}

} // namespace zm
