#include "platform/core/Random.h"

#include <cassert>
#include <mutex>
#include <random>

#include <sys/random.h>

namespace core {

namespace {

class EngineRandom final : public RandomSource {
public:
    explicit EngineRandom(uint64_t seed)
        : m_engine(seed) {}
    uint32_t next() override { return static_cast<uint32_t>(m_engine()); }

private:
    std::mt19937_64 m_engine;
};

class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<uint32_t> draws)
        : m_draws(std::move(draws)) {
        assert(!m_draws.empty() && "a scripted random source needs at least one draw");
    }
    uint32_t next() override {
        if (m_draws.empty())
            return 0;
        const uint32_t draw = m_draws[m_position];
        m_position = (m_position + 1) % m_draws.size();
        return draw;
    }

private:
    std::vector<uint32_t> m_draws;
    size_t m_position = 0;
};

uint64_t systemSeed() {
    uint64_t seed = 0;
    if (::getrandom(&seed, sizeof seed, 0) == sizeof seed)
        return seed;
    std::random_device device;
    return static_cast<uint64_t>(device()) << 32 | device();
}

struct SharedRandom {
    std::mutex lock;
    std::unique_ptr<RandomSource> source;
};

SharedRandom& sharedRandom() {
    static SharedRandom instance;
    return instance;
}

} // namespace

std::unique_ptr<RandomSource> makeSystemRandom() {
    return std::make_unique<EngineRandom>(systemSeed());
}

std::unique_ptr<RandomSource> makeSeededRandom(uint64_t seed) {
    return std::make_unique<EngineRandom>(seed);
}

std::unique_ptr<RandomSource> makeScriptedRandom(std::vector<uint32_t> draws) {
    return std::make_unique<ScriptedRandom>(std::move(draws));
}

uint32_t randomU32() {
    SharedRandom& shared = sharedRandom();
    const std::lock_guard guard(shared.lock);
    if (!shared.source)
        shared.source = makeSystemRandom();
    return shared.source->next();
}

uint32_t randomUniform(uint32_t upperBound) {
    if (upperBound < 2)
        return 0;
    // Draws below 2^32 mod n would make the low results more likely; draw again for those.
    const uint32_t minimum = static_cast<uint32_t>(-upperBound) % upperBound;
    for (;;) {
        const uint32_t draw = randomU32();
        if (draw >= minimum)
            return draw % upperBound;
    }
}

std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source) {
    SharedRandom& shared = sharedRandom();
    const std::lock_guard guard(shared.lock);
    std::swap(shared.source, source);
    return source;
}

ScopedRandomSource::ScopedRandomSource(std::unique_ptr<RandomSource> source)
    : m_previous(setRandomSource(std::move(source))) {}

ScopedRandomSource::~ScopedRandomSource() {
    setRandomSource(std::move(m_previous));
}

void CRandom::seed(uint32_t value) {
    // A seed of 0 would leave the whole state 0.
    int32_t word = static_cast<int32_t>(value == 0 ? 1 : value);
    m_state[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < 31; ++i) {
        // 16807 * word mod (2^31 - 1), by Schrage's method so that nothing overflows.
        const int32_t high = word / 127773;
        const int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0)
            word += 2147483647;
        m_state[i] = static_cast<uint32_t>(word);
    }
    m_front = 3;
    m_rear = 0;
    for (int i = 0; i < 310; ++i)
        next();
}

int32_t CRandom::next() {
    m_state[m_front] += m_state[m_rear];
    const uint32_t result = m_state[m_front] >> 1;
    m_front = (m_front + 1) % 31;
    m_rear = (m_rear + 1) % 31;
    return static_cast<int32_t>(result);
}

CRandom& cRandom() {
    static CRandom instance;
    return instance;
}

} // namespace core
