#pragma once

// Test support: a long-division host view over the whole window of a headless device.

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"
#include "playground/testing/PlaygroundStage.h"

#include <memory>
#include <string>

namespace zm::testing {

class LDStage {
public:
    explicit LDStage(ui::Idiom idiom = ui::Idiom::Tablet)
        : host(ui::Device{idiom, 1}) {
        view = LDPlaygroundView::create();
        view->setFrame(host.window().bounds());
        host.window().addSubview(view);
    }

    // Starts `text` (the text form) and lets it settle.
    std::shared_ptr<ExprLongDivision> start(const std::string& text, bool demoMode = false) {
        auto division = ExprLongDivision::fromString(text);
        view->setNewProblem(division, demoMode);
        host.advance(1);
        return division;
    }

    LDPlaygroundMain& main() const { return *view->playgroundMain(); }
    ExprViewLongDivision& head() const { return *main().longDivisionExprView(); }

    std::shared_ptr<const gfx::Image> render(const std::string& name) { return renderWindow(host, name); }

    host::HeadlessHost host;
    std::shared_ptr<LDPlaygroundView> view;
};

} // namespace zm::testing
