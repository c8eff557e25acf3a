#pragma once
// A small linear congruential generator: the benchmarks' made-up data is the same on every run.
#include <cstdint>

namespace frusta::bench {

struct Lcg {
    uint64_t state;
    explicit Lcg(uint64_t seed) : state(seed) {}
    uint32_t next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(state >> 33);
    }
    uint32_t below(uint32_t n) { return next() % n; }
};

} // namespace frusta::bench
