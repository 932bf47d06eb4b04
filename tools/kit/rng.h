// A small deterministic random source (xoshiro256** seeded by splitmix64) and
// the few distributions the data kit needs, written out so that a seed gives
// the same catalogue with every compiler and standard library.
#pragma once

#include <cmath>
#include <cstdint>

struct KitRng {
    uint64_t s[4];
};

inline void SeedRng(KitRng* rng, uint64_t seed) {
    for (int i = 0; i < 4; i++) {
        seed += 0x9E3779B97F4A7C15ull;
        uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        rng->s[i] = z ^ (z >> 31);
    }
}

inline uint64_t NextU64(KitRng* rng) {
    uint64_t* s = rng->s;
    uint64_t r = s[1] * 5;
    r = ((r << 7) | (r >> 57)) * 9;
    uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = (s[3] << 45) | (s[3] >> 19);
    return r;
}

// Uniform in [0, 1).
inline double Uniform(KitRng* rng) { return double(NextU64(rng) >> 11) * (1.0 / 9007199254740992.0); }

// Uniform integer in [0, n), n > 0.
inline int UniformInt(KitRng* rng, int n) { return int(Uniform(rng) * n); }

// Standard normal (Box-Muller, one value per call).
inline double Gaussian(KitRng* rng) {
    double u = 1.0 - Uniform(rng);
    double v = Uniform(rng);
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

// Poisson with the given mean: multiplication of uniforms for small means, a
// rounded normal approximation above 50 (the error there is far below the
// model's own uncertainty).
inline int Poisson(KitRng* rng, double mean) {
    if (mean <= 0) return 0;
    if (mean > 50) {
        double x = std::floor(mean + std::sqrt(mean) * Gaussian(rng) + 0.5);
        return x < 0 ? 0 : int(x);
    }
    double limit = std::exp(-mean), p = 1.0;
    int k = -1;
    do {
        k++;
        p *= Uniform(rng);
    } while (p > limit);
    return k;
}
