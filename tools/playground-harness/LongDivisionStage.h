#pragma once

#include "longdivision/model/ExprLongDivision.h"
#include "platform/core/Result.h"
#include "platform/host/TouchScript.h"
#include "playground/PlaygroundDelegate.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace ui {
class Application;
}

namespace zm {

class LDPlaygroundView;

// A long division alone on the screen: its host view, loaded from its interface file over the whole
// window. As the delegate of both the view and the playground it logs the long division's six
// notifications and whether the division is solved, so that a person or a script can follow the moves.
class LongDivisionStage : public PlaygroundDelegate, public std::enable_shared_from_this<LongDivisionStage> {
public:
    static core::Result<std::shared_ptr<LongDivisionStage>>
    create(ui::Application& application, std::shared_ptr<ExprLongDivision> division, bool demoMode,
           std::ostream& log);

    LDPlaygroundView& view() const { return *m_view; }
    // "quotient 24.6, remainder 0, STATE", STATE one of working, remainder mode, decimal mode,
    // finding pattern, solved.
    std::string text() const;
    // Where a script's target lies, in window points (see the source for the parts a target names).
    core::Result<core::Point> resolve(const host::ScriptTarget& target) const;
    void logState() const;

    void showComplete() override;
    void didErrorStep() override;
    void draggedOver() override;
    void droppedDigit() override;
    void droppedRemainder() override;
    void foundPattern() override;
    void foundMultiple() override;
    void foundInitialDecimal() override;

private:
    explicit LongDivisionStage(std::ostream& log)
        : m_log(log) {}

    void note(const char* what) const;

    std::shared_ptr<LDPlaygroundView> m_view;
    std::shared_ptr<ExprLongDivision> m_division;
    std::ostream& m_log;
    bool m_solved = false;
};

} // namespace zm
