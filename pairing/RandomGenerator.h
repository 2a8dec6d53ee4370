#pragma once
// The pairing's random generator: a linear congruential generator of our own,
// so that a seed gives the same shuffles on every platform and standard
// library (the C library's rand differs between them in range and sequence).

#include <cstdint>

namespace tabry {

class CRandomGenerator {
public:
    static constexpr int kMax = 32767;

    explicit CRandomGenerator(std::uint32_t seed = 1) : m_state(seed) {}

    void Seed(std::uint32_t seed) { m_state = seed; }
    // Seeds from the current time, as the desktop program does once at start-up.
    void SeedFromTime();
    // A seed taken from the current time (seconds since the epoch, truncated).
    static std::uint32_t TimeSeed();

    // The next value, 0 .. kMax.
    int Next()
    {
        m_state = m_state * 214013u + 2531011u; // unsigned: wraps modulo 2^32
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }

    std::uint32_t State() const { return m_state; }

private:
    std::uint32_t m_state;
};

} // namespace tabry
