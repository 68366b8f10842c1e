#pragma once

#include "platform/ui/Animation.h"
#include "platform/ui/TimingFunction.h"

#include <any>
#include <functional>
#include <memory>
#include <string>

namespace ui {

class View;

// Options of a view animation block; combine them with |.
enum class AnimationOptions : unsigned {
    None = 0,
    // Touches reach the animated views while they move (otherwise hit tests pass them by).
    AllowUserInteraction = 1u << 1,
    // A property that is already animating starts from where it is on screen; otherwise it starts
    // from the value the running animation was heading for.
    BeginFromCurrentState = 1u << 2,
    // Runs again and again until removed (unless a repeat count is given).
    Repeat = 1u << 3,
    // Each run goes there and back.
    Autoreverse = 1u << 4,
};

constexpr AnimationOptions operator|(AnimationOptions a, AnimationOptions b) {
    return static_cast<AnimationOptions>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool hasOption(AnimationOptions options, AnimationOptions option) {
    return (static_cast<unsigned>(options) & static_cast<unsigned>(option)) != 0;
}

struct AnimationParameters {
    double duration = 0.2;
    double delay = 0;
    AnimationOptions options = AnimationOptions::None;
    AnimationCurve curve = AnimationCurve::EaseInOut;
    // Runs of the animation, fractions allowed; 0 means once, or endlessly with the Repeat option.
    double repeatCount = 0;
};

// Runs `changes` now. The view properties they change (frame, bounds, center, transform, alpha,
// background colour) take their new values at once, while the screen shows them moving there from
// their old values over the duration. `completion` runs on a later turn of the main loop when every
// animation of the block has stopped, with finished false when one was replaced or removed first; a
// block without changes completes after its duration. Nested blocks take the duration, delay and curve
// of the outermost one. With a duration of 0, animations switched off, or no animation engine running,
// everything changes at once and the completion still comes on a later turn (of the main loop, when one
// runs).
void animate(const AnimationParameters& parameters, const std::function<void()>& changes,
             std::function<void(bool finished)> completion = {});

// The same as a pair of calls: beginAnimations opens a named block (0.2 s, ease in and out), the
// setters adjust it, the changes in between animate, and commitAnimations starts it. When it stops, the
// delegate hears animationDidStop with the name, finished and the context.
void beginAnimations(std::string name, std::any context = {});
void setAnimationDuration(double seconds);
void setAnimationDelay(double seconds);
void setAnimationCurve(AnimationCurve curve);
void setAnimationRepeatCount(double count);
void setAnimationRepeatAutoreverses(bool autoreverses);
void setAnimationBeginsFromCurrentState(bool fromCurrentState);
void setAnimationDelegate(std::weak_ptr<AnimationDelegate> delegate);
void commitAnimations();

// Keyframes: inside `keyframes`, each addKeyframe gives changes that are reached at the end of its
// part of the duration (start and length in shares of it). Every property so changed moves through its
// keyframe values over the whole duration, along straight or smooth curves.
enum class KeyframeCurve { Linear, Cubic };
void animateKeyframes(const AnimationParameters& parameters, KeyframeCurve curve,
                      const std::function<void()>& keyframes,
                      std::function<void(bool finished)> completion = {});
void addKeyframe(double relativeStart, double relativeDuration, const std::function<void()>& changes);

// Swaps one view for another in the first one's superview (the heart of a screen transition): `to`
// goes on top of the superview's subviews, `changes` animate with `parameters`, and once the block has
// stopped `from` leaves the superview and `completion` runs. When `from` has no superview, nothing is
// added and the completion hears finished false.
void transition(View& from, std::shared_ptr<View> to, const AnimationParameters& parameters,
                const std::function<void()>& changes, std::function<void(bool finished)> completion = {});

// The global switch (see AnimationEngine); off while no engine runs.
bool areAnimationsEnabled();
void setAnimationsEnabled(bool enabled);
// Runs `changes` with animations switched off.
void performWithoutAnimation(const std::function<void()>& changes);

} // namespace ui
