#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

// A source of uniformly distributed unsigned 32-bit draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual uint32_t next() = 0;
};

// Seeded from the operating system: what the program uses outside tests.
std::unique_ptr<RandomSource> makeSystemRandom();
// The same sequence for the same seed.
std::unique_ptr<RandomSource> makeSeededRandom(uint64_t seed);
// Answers the given draws in order and starts over after the last; tests script exact choices so.
std::unique_ptr<RandomSource> makeScriptedRandom(std::vector<uint32_t> draws);

// The process's draws (the platform's arc4random family). Safe from any thread.
uint32_t randomU32();
// Uniform in 0 to upperBound - 1 without the bias of a plain remainder; 0 for a bound of 0.
uint32_t randomUniform(uint32_t upperBound);

// Replaces the process's source; answers the previous one.
std::unique_ptr<RandomSource> setRandomSource(std::unique_ptr<RandomSource> source);

// For tests: the process draws from `source` while this lives.
class ScopedRandomSource {
public:
    explicit ScopedRandomSource(std::unique_ptr<RandomSource> source);
    ~ScopedRandomSource();
    ScopedRandomSource(const ScopedRandomSource&) = delete;
    ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

private:
    std::unique_ptr<RandomSource> m_previous;
};

// The C library's random() sequence (additive feedback, 31 words of state), kept apart from the
// library's own hidden state. A new generator, like a program that never seeds, starts as if
// seeded with 1. Not synchronised: one owner at a time.
class CRandom {
public:
    CRandom() { seed(1); }
    explicit CRandom(uint32_t value) { seed(value); }

    void seed(uint32_t value);
    // 0 to 2^31 - 1.
    int32_t next();

private:
    uint32_t m_state[31];
    int m_front = 3;
    int m_rear = 0;
};

// The process's unseeded random() sequence, used by the problem generator's shuffle.
CRandom& cRandom();

} // namespace core
