#include "tools/playground-harness/HarnessStage.h"

#include "model/steps/Step.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/testing/RecordingInputContainer.h"
#include "playground/views/ExprView.h"
#include "playground/views/GenericLabel.h"

#include <algorithm>
#include <ostream>

namespace zm {

std::shared_ptr<HarnessStage> HarnessStage::create(ui::Application& application, ExprPtr expr,
                                                   std::ostream& log) {
    std::shared_ptr<HarnessStage> stage(new HarnessStage(log));
    ui::Window& window = application.window();
    stage->m_playgroundView = PlaygroundView::create(window.bounds());
    window.addSubview(stage->m_playgroundView);
    stage->m_playgroundView->setPlayDelegate(stage);
    stage->m_keyboardHost =
        std::make_shared<testing::RecordingInputContainer>(window, stage->m_playgroundView);
    stage->m_playgroundView->setContainerInputDelegate(stage->m_keyboardHost);
    stage->m_playgroundView->setNewProblem(std::move(expr));
    log << "start: " << stage->text() << std::endl;
    return stage;
}

std::string HarnessStage::text() const {
    const std::shared_ptr<PlaygroundMain>& main = m_playgroundView->mainPlayground();
    return main && main->mainExpr() ? main->mainExpr()->description() : std::string();
}

core::Result<core::Point> HarnessStage::resolve(const host::ScriptTarget& target) const {
    if (target.point)
        return *target.point;
    const std::shared_ptr<PlaygroundMain>& main = m_playgroundView->mainPlayground();
    std::vector<std::shared_ptr<GenericLabel>> labels;
    if (main && main->mainExprView()) {
        for (const std::shared_ptr<ui::View>& view : main->mainExprView()->getViewList()) {
            auto label = std::dynamic_pointer_cast<GenericLabel>(view);
            if (label && label->text() == target.text && label->alpha() > 0)
                labels.push_back(label);
        }
    }
    // In reading order: left to right, then top to bottom.
    std::ranges::sort(labels, [](const auto& a, const auto& b) {
        const core::Rect fa = a->frame(), fb = b->frame();
        return fa.minX() != fb.minX() ? fa.minX() < fb.minX() : fa.minY() < fb.minY();
    });
    if (size_t(target.occurrence) > labels.size())
        return core::Error{"Harness",
                           1,
                           "no label \"" + target.text + "\" #" + std::to_string(target.occurrence) + " in " +
                               text(),
                           {}};
    const core::Rect frame = labels[size_t(target.occurrence) - 1]->frame();
    return core::Point{frame.midX(), frame.midY()};
}

void HarnessStage::executedStep(const std::shared_ptr<Step>& step) {
    if (step)
        m_log << "  " << step->description() << " -> " << text() << std::endl;
}

void HarnessStage::didErrorStep() {
    m_log << "  refused" << std::endl;
}

} // namespace zm
