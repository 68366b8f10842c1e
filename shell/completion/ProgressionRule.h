#pragma once

#include <cstdint>
#include <string_view>

namespace zm {

// A topic's progress as the progress store keeps it: how many solved problems each difficulty needs
// and how many are solved.
struct ProblemCounts {
    uint32_t noviceNeeded = 0;
    uint32_t masterNeeded = 0;
    uint32_t noviceSolved = 0;
    uint32_t masterSolved = 0;
};

// Where one more counted problem takes a topic.
struct ProgressionStep {
    // The last novice problem needed was solved while master is not done: the topic moves to the master
    // difficulty with its next problem.
    bool switchToMaster = false;
    // The last problem needed at either difficulty was solved: the topic is mastered.
    bool finishedMaster = false;

    friend bool operator==(const ProgressionStep&, const ProgressionStep&) = default;
};

// The step a counted problem solved at `difficulty` makes, from the counts before it is counted. Only
// the problem that completes a difficulty moves the topic on; a topic is mastered at master only once
// its novice problems are all solved. Any difficulty but novice and master moves nothing.
ProgressionStep progressionForSolvedProblem(std::string_view difficulty, const ProblemCounts& before);

} // namespace zm
