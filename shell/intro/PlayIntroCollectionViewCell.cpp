#include "shell/intro/PlayIntroCollectionViewCell.h"

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/Localization.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/IntroEliminateExecutor.h"
#include "playground/executors/IntroFaultyAdder.h"
#include "playground/executors/IntroFaultyEliminator.h"
#include "playground/executors/IntroMixTapExecutor.h"
#include "shell/intro/BoldMarkup.h"

namespace zm {

namespace {

constexpr std::string_view kFraction = "(5*2)/2";

constexpr float kHeadingSizePhone = 25;
constexpr float kHeadingSizeTablet = 30;

gfx::Font fontNamed(std::string_view name, float size) {
    return gfx::Font::named(name, size).value_or(gfx::Font::system(size));
}

// Stops the player of `playground`, if it has one.
void stopPlayer(const std::shared_ptr<PlaygroundView>& playground) {
    if (playground && playground->executor())
        playground->executor()->cancelAnimations();
}

} // namespace

PlayIntroCollectionViewCell::~PlayIntroCollectionViewCell() {
    cancelAnimations();
}

void PlayIntroCollectionViewCell::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("label", m_label);
    outlets.strong("leftContainerView", m_leftContainerView);
    outlets.strong("rightContainerView", m_rightContainerView);
    AlgebraCell::connectOutlets(outlets);
}

void PlayIntroCollectionViewCell::cancelAnimations() {
    stopPlayer(m_leftPlaygroundView);
    stopPlayer(m_rightPlaygroundView);
}

void PlayIntroCollectionViewCell::animate() {
    cancelAnimations();
    // Both demonstrations take the left container's size: the containers are meant to be alike.
    const core::Size size = m_leftContainerView ? m_leftContainerView->frame().size : core::Size{};
    for (const std::shared_ptr<PlaygroundView>& old : {m_leftPlaygroundView, m_rightPlaygroundView}) {
        if (old)
            old->removeFromSuperview();
    }
    m_leftPlaygroundView = PlaygroundView::create({0, 0, size.width, size.height});
    m_rightPlaygroundView = PlaygroundView::create({0, 0, size.width, size.height});
    if (m_leftContainerView)
        m_leftContainerView->addSubview(m_leftPlaygroundView);
    if (m_rightContainerView)
        m_rightContainerView->addSubview(m_rightPlaygroundView);
}

template <class Player>
std::shared_ptr<AIExecutor>
PlayIntroCollectionViewCell::makePlayer(const std::shared_ptr<PlaygroundView>& playground,
                                        const std::shared_ptr<ui::View>& container) {
    return AIExecutor::create<Player>(playground, nullptr, container);
}

void PlayIntroCollectionViewCell::play(std::string_view leftProblem, PlayerFactory leftPlayer,
                                       std::string_view rightProblem, PlayerFactory rightPlayer) {
    const struct {
        const std::shared_ptr<PlaygroundView>& playground;
        const std::shared_ptr<ui::View>& container;
        std::string_view problem;
        PlayerFactory player;
    } sides[] = {{m_leftPlaygroundView, m_leftContainerView, leftProblem, leftPlayer},
                 {m_rightPlaygroundView, m_rightContainerView, rightProblem, rightPlayer}};
    for (const auto& side : sides) {
        side.playground->setNewProblem(ExprTextReader::parseString(side.problem));
        side.playground->setExecutor(side.player(side.playground, side.container));
    }
    for (const auto& side : sides) {
        if (side.playground->executor())
            side.playground->executor()->startFindingSteps();
    }
}

std::shared_ptr<DemoSuccessCell> DemoSuccessCell::create() {
    return std::shared_ptr<DemoSuccessCell>(new DemoSuccessCell);
}

void DemoSuccessCell::awakeFromNib() {
    PlayIntroCollectionViewCell::awakeFromNib();
    const std::shared_ptr<ui::Label> heading = label();
    if (!heading)
        return;
    const float size = ui::Device::current().isTablet() ? kHeadingSizeTablet : kHeadingSizePhone;
    heading->setAttributedText(
        boldMarkupText(core::localized("You can <b>tap</b>, <b>drag</b>, and <b>draw lines</b>."),
                       fontNamed("HelveticaNeue-Ultralight", size), fontNamed("HelveticaNeue-Light", size)));
}

void DemoSuccessCell::animate() {
    PlayIntroCollectionViewCell::animate();
    play("3*x", &makePlayer<IntroMixTapExecutor>, kFraction, &makePlayer<IntroEliminateExecutor>);
}

std::shared_ptr<DemoFailCell> DemoFailCell::create() {
    return std::shared_ptr<DemoFailCell>(new DemoFailCell);
}

void DemoFailCell::animate() {
    PlayIntroCollectionViewCell::animate();
    if (const std::shared_ptr<ui::Label> big = bigLabel())
        big->setText(core::localized("You can't break the rules of math,"));
    if (const std::shared_ptr<ui::Label> small = smallLabel())
        small->setText(core::localized("so don't be afraid to experiment."));
    play("1+2*3", &makePlayer<IntroFaultyAdder>, kFraction, &makePlayer<IntroFaultyEliminator>);
}

} // namespace zm
