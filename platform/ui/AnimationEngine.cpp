#include "platform/ui/AnimationEngine.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/ui/Layer.h"

#include <algorithm>
#include <cassert>

namespace ui {

namespace {

AnimationEngine* g_current = nullptr;

} // namespace

AnimationGroup::AnimationGroup(Completion completion)
    : m_completion(std::move(completion)) {}

void AnimationGroup::join() {
    assert(!m_closed);
    ++m_pending;
}

void AnimationGroup::leave(bool finished) {
    assert(m_pending > 0);
    m_finished = m_finished && finished;
    if (--m_pending == 0 && m_closed)
        complete();
}

void AnimationGroup::close(double linger) {
    m_closed = true;
    if (m_pending > 0)
        return;
    AnimationEngine* engine = AnimationEngine::current();
    if (linger > 0 && engine)
        engine->postAfter(linger, [self = shared_from_this()] { self->complete(); });
    else
        complete();
}

void AnimationGroup::complete() {
    if (m_completed)
        return;
    m_completed = true;
    if (!m_completion)
        return;
    if (AnimationEngine* engine = AnimationEngine::current())
        engine->post([completion = std::move(m_completion), finished = m_finished] { completion(finished); });
}

AnimationEngine::AnimationEngine(core::MainLoop& loop)
    : m_loop(loop)
    , m_previous(g_current) {
    g_current = this;
}

AnimationEngine::~AnimationEngine() {
    if (m_frameHandler)
        m_loop.removeFrameHandler(m_frameHandler);
    for (Layer* layer : std::vector<Layer*>(m_layers))
        layer->removeAllAnimations();
    g_current = m_previous;
}

AnimationEngine* AnimationEngine::current() {
    return g_current;
}

double AnimationEngine::now() const {
    return m_loop.clock()->mediaTime();
}

void AnimationEngine::post(std::function<void()> work) {
    m_loop.queue()->async(std::move(work));
}

void AnimationEngine::postAfter(double seconds, std::function<void()> work) {
    m_loop.queue()->after(core::fromSeconds(seconds), std::move(work));
}

void AnimationEngine::track(Layer& layer) {
    if (std::find(m_layers.begin(), m_layers.end(), &layer) == m_layers.end())
        m_layers.push_back(&layer);
    updateFrameHandler();
}

void AnimationEngine::untrack(Layer& layer) {
    std::erase(m_layers, &layer);
    updateFrameHandler();
}

void AnimationEngine::addFrameObserver(FrameObserver& observer) {
    if (std::find(m_observers.begin(), m_observers.end(), &observer) == m_observers.end())
        m_observers.push_back(&observer);
    updateFrameHandler();
}

void AnimationEngine::removeFrameObserver(FrameObserver& observer) {
    std::erase(m_observers, &observer);
    updateFrameHandler();
}

void AnimationEngine::open(std::shared_ptr<AnimationGroup> group, ViewAnimationBlock* block) {
    m_scopes.push_back({std::move(group), block});
}

void AnimationEngine::close() {
    assert(!m_scopes.empty());
    m_scopes.pop_back();
}

ViewAnimationBlock* AnimationEngine::innermostBlock() const {
    for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope) {
        if (scope->block)
            return scope->block;
    }
    return nullptr;
}

const std::shared_ptr<AnimationGroup>& AnimationEngine::innermostGroup() const {
    static const std::shared_ptr<AnimationGroup> none;
    return m_scopes.empty() ? none : m_scopes.back().group;
}

void AnimationEngine::frame(core::TimePoint time) {
    const double now = core::toSeconds(time.time_since_epoch());
    // Stopping animations only queues their callbacks, so the list cannot change under the loop; a layer
    // whose animations are all over leaves it.
    for (Layer* layer : std::vector<Layer*>(m_layers)) {
        if (!layer->advanceAnimations(now))
            std::erase(m_layers, layer);
    }
    const double elapsed = now - m_lastFrame;
    m_lastFrame = now;
    for (FrameObserver* observer : std::vector<FrameObserver*>(m_observers))
        observer->advance(elapsed);
    updateFrameHandler();
}

void AnimationEngine::updateFrameHandler() {
    const bool needed = !m_layers.empty() || !m_observers.empty();
    if (needed && !m_frameHandler) {
        m_lastFrame = now();
        m_frameHandler = m_loop.addFrameHandler(core::FramePhase::Animation,
                                                [this](core::TimePoint time) { frame(time); });
    } else if (!needed && m_frameHandler) {
        m_loop.removeFrameHandler(m_frameHandler);
        m_frameHandler = 0;
    }
}

} // namespace ui
