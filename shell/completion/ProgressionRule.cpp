#include "shell/completion/ProgressionRule.h"

#include "shell/topics/TopicIdentifiers.h"

namespace zm {

namespace {

// Whether `solved` is one short of `needed` (a difficulty that needs nothing is never one short).
bool lastOneNeeded(uint32_t solved, uint32_t needed) {
    return needed > 0 && solved == needed - 1;
}

} // namespace

ProgressionStep progressionForSolvedProblem(std::string_view difficulty, const ProblemCounts& before) {
    ProgressionStep step;
    if (difficulty == AlgebraDifficultyNovice) {
        if (lastOneNeeded(before.noviceSolved, before.noviceNeeded)) {
            if (before.masterSolved >= before.masterNeeded)
                step.finishedMaster = true;
            else
                step.switchToMaster = true;
        }
    } else if (difficulty == AlgebraDifficultyMaster) {
        step.finishedMaster = before.noviceSolved >= before.noviceNeeded &&
                              lastOneNeeded(before.masterSolved, before.masterNeeded);
    }
    return step;
}

} // namespace zm
