// Measurement noise as a pure function of (seed, channel, time): the same sample gets the
// same noise however the reads are cut into blocks, so a fixed seed repeats a run exactly.
#ifndef PLATFORM_SIMBOARD_STAND_NOISE_H
#define PLATFORM_SIMBOARD_STAND_NOISE_H

#include <cstdint>
#include <cstring>

namespace simboard {

inline uint64_t mixBits(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Triangular noise in [-peak, +peak] (standard deviation about 0.41 * peak).
inline double noiseAt(uint64_t seed, int channel, double time, double peak) {
    uint64_t timeBits = 0;
    std::memcpy(&timeBits, &time, sizeof timeBits);
    uint64_t h = mixBits(seed ^ mixBits(timeBits + static_cast<uint64_t>(channel)));
    constexpr double unit = 1.0 / 16777216.0;
    double a = static_cast<double>(h >> 40) * unit;
    double b = static_cast<double>(h & 0xFFFFFFu) * unit;
    return (a + b - 1.0) * peak;
}

} // namespace simboard

#endif
