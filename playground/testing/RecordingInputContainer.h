#pragma once

// Stand-in for the screen that hosts the algebra keyboard, for tests and the playground harness.

#include "platform/ui/Device.h"
#include "playground/PlaygroundContainerInputDelegate.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/keyboard/ExprInputViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace zm::testing {

// Stands in for the screen that hosts the keyboard (a topic or problem-set screen): it shows one
// keyboard screen at a time along the bottom of the window, fits the playground view into the space
// above it and takes it back when asked, and writes down "add" and "remove".
class RecordingInputContainer : public PlaygroundContainerInputDelegate {
public:
    RecordingInputContainer(ui::View& screen, std::shared_ptr<PlaygroundView> playgroundView = nullptr)
        : m_screen(screen)
        , m_playgroundView(std::move(playgroundView)) {}

    void addChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) override {
        messages.push_back("add");
        if (shown)
            return;
        shown = controller;
        const core::Rect bounds = m_screen.bounds();
        const float height = ui::Device::current().isTablet() ? 214 : 129;
        controller->view()->setFrame({0, bounds.height() - height, bounds.width(), height});
        m_screen.addSubview(controller->view());
        refit({0, 0, bounds.width(), bounds.height() - height});
    }

    void removeChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) override {
        messages.push_back("remove");
        if (controller != shown)
            return;
        controller->view()->removeFromSuperview();
        shown = nullptr;
        refit(m_screen.bounds());
    }

    std::vector<std::string> messages;
    std::shared_ptr<ExprInputViewController> shown;

private:
    void refit(const core::Rect& frame) {
        if (!m_playgroundView)
            return;
        m_playgroundView->setFrame(frame);
        m_playgroundView->resetPivotPoint();
        if (const std::shared_ptr<PlaygroundMain>& main = m_playgroundView->mainPlayground()) {
            main->resizeToFit();
            main->moveToFinalStateAnimated(true);
        }
    }

    ui::View& m_screen;
    std::shared_ptr<PlaygroundView> m_playgroundView;
};

} // namespace zm::testing
