#pragma once

#include "model/Expr.h"
#include "platform/core/Result.h"
#include "playground/PlaygroundDelegate.h"
#include "platform/host/TouchScript.h"

#include <iosfwd>
#include <memory>

namespace ui {
class Application;
}

namespace zm {

class PlaygroundContainerInputDelegate;
class PlaygroundView;

// The main playground alone on the screen, playing one expression: a playground view over the whole
// window of an application, with the algebra keyboard along its bottom when a playground asks for it.
// It writes the expression after every move to a log, so that a person playing it (or a script) can
// follow what the moves did.
class HarnessStage : public PlaygroundDelegate, public std::enable_shared_from_this<HarnessStage> {
public:
    static std::shared_ptr<HarnessStage> create(ui::Application& application, ExprPtr expr,
                                                std::ostream& log);

    PlaygroundView& playgroundView() const { return *m_playgroundView; }
    // The expression's text now.
    std::string text() const;
    // Where a script's target lies: its point, or the centre of the label it names.
    core::Result<core::Point> resolve(const host::ScriptTarget& target) const;

    void executedStep(const std::shared_ptr<Step>& step) override;
    void didErrorStep() override;

private:
    HarnessStage(std::ostream& log)
        : m_log(log) {}

    std::shared_ptr<PlaygroundView> m_playgroundView;
    std::shared_ptr<PlaygroundContainerInputDelegate> m_keyboardHost;
    std::ostream& m_log;
};

} // namespace zm
