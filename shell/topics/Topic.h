#pragma once

#include "shell/topics/ExecutorClass.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

class Expr;

// A topic of the game, known by its identifier alone: everything else (texts, the player that
// demonstrates it, its goal test) follows from the identifier's text, so two topics with the same
// identifier are interchangeable. An identifier that is none of the nine topics is no error; it
// answers the "Unknown" row.
class Topic {
public:
    explicit Topic(std::string topicID);

    const std::string& topicID() const { return m_topicID; }

    // Localised texts; "Unknown" for an unlisted identifier is shown as it stands.
    std::string name() const;
    std::string helpText() const;
    // The second sentence of the master difficulty, for the topics that have one.
    std::optional<std::string> helpTextRound2() const;
    // The expression on the topic's home card, read from its text anew on every call.
    std::shared_ptr<Expr> labelExpr() const;

    ExecutorClass executorClassNovice() const;
    ExecutorClass executorClassMaster() const;
    // The master player for "AlgebraDifficultyMaster", the novice player for anything else.
    ExecutorClass executorClassForDifficulty(std::string_view difficulty) const;

    // The goal test: factorised for the factors topic, simplified for every other.
    bool problemComplete(const Expr& expr) const;

    friend bool operator==(const Topic&, const Topic&) = default;

private:
    std::string m_topicID;
};

} // namespace zm
