#pragma once

#include <memory>

namespace zm {

class TopicViewController;

// The store of the user's problem sets as start-up and navigation see it: made once, on first need,
// and owned by the application delegate; the problem-set list screen listens to its list of sets. The
// problem-set subsystem provides it.
class ProblemSetStore {
public:
    virtual ~ProblemSetStore() = default;

    // Makes `screen` the one told when the list of sets changes; held weakly.
    virtual void setListener(const std::shared_ptr<TopicViewController>& screen) = 0;
};

} // namespace zm
