#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

class PlaygroundExponents;

// Demonstrates the master exponents problems in the exponents playground. A product of like powers:
// its "*" is tapped, and in the playground the finger drags the written-out row against the right
// wall until it has merged into one power. A fraction of powers: the larger power is tapped, and in
// the playground the finger nudges the row, 20 points at a time and without lifting, until it is split
// into two powers the second of which equals the smaller power; it then lifts, taps the row into the
// fraction, and cancels the equal powers across the bar.
class ExponentExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

    // The exponents the split of a fraction's larger power aims at: the right group's (the smaller
    // power's) and the left group's (what is left over).
    int32_t rightGoal() const { return m_rightGoal; }
    int32_t leftGoal() const { return m_leftGoal; }
    // Whether the finger is down nudging the row, and whether it has lifted with the goals reached
    // (both for the exponents playground shown now).
    bool dragging() const { return m_dragging; }
    bool letGo() const { return m_letGo; }

    // Whether the main expression is exactly a fraction.
    bool isQuotient() const;

protected:
    void executeExponents() override;
    void progressStep() override;
    void mixStep() override;
    void failStep() override;

    // Nudges along a short path: 20 touch moves (the end point itself not sent), at half the finger's
    // speed.
    void addShortPathToQueue(const QVStraightPath& path);

private:
    void playProduct();
    void playQuotient();
    // In the playground: splitting the fraction's larger power, and squeezing a product's row.
    void splitPower(const std::shared_ptr<const PlaygroundExponents>& playground);
    void squeezeRow(const PlaygroundExponents& playground);

    int32_t m_rightGoal = 0;
    int32_t m_leftGoal = 0;
    bool m_dragging = false;
    bool m_letGo = false;
    // The playground `dragging` and `letGo` belong to.
    std::weak_ptr<const PlaygroundExponents> m_splitPlayground;
    // Where the nudging finger stands, in the playground view's coordinates.
    core::Point m_nudgePoint;
};

} // namespace zm
