#include "tools/playground-harness/ScriptRunner.h"

#include "platform/host/HeadlessHost.h"
#include "platform/host/ScriptPlayer.h"
#include "tools/playground-harness/HarnessStage.h"
#include "tools/playground-harness/LongDivisionStage.h"

#include <ostream>

namespace zm {

core::Result<std::string> runTouchScript(const ExprPtr& expr, const std::vector<host::ScriptCommand>& script,
                                         const std::filesystem::path& folder, const ui::Device& device,
                                         std::ostream& log) {
    host::HeadlessHost host(device);
    const std::shared_ptr<HarnessStage> stage = HarnessStage::create(host.application(), expr, log);
    host.advance(1); // the expression settles
    if (const core::Status played = host::playTouchScript(
            host, script, folder, [&stage](const host::ScriptTarget& target) { return stage->resolve(target); },
            log);
        !played)
        return played.error();
    log << "end: " << stage->text() << "\n";
    return stage->text();
}

core::Result<std::string> runLongDivisionScript(const std::shared_ptr<ExprLongDivision>& division, bool demoMode,
                                                const std::vector<host::ScriptCommand>& script,
                                                const std::filesystem::path& folder, const ui::Device& device,
                                                std::ostream& log) {
    host::HeadlessHost host(device);
    const auto stage = LongDivisionStage::create(host.application(), division, demoMode, log);
    if (!stage)
        return stage.error();
    host.advance(1); // the division settles
    if (const core::Status played = host::playTouchScript(
            host, script, folder,
            [&stage](const host::ScriptTarget& target) { return (*stage)->resolve(target); }, log,
            [&stage](const host::ScriptCommand&) { (*stage)->logState(); });
        !played)
        return played.error();
    log << "end: " << (*stage)->text() << "\n";
    return (*stage)->text();
}

} // namespace zm
