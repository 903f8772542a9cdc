// The random-number generator behind RAND: uniform on [0, 1), a fixed seed at start, reseeded by RANDOMIZE.
#pragma once

#include <cstdint>

namespace kubrix {

class Random {
 public:
  static constexpr uint64_t kStartSeed = 0x4B7562726978ULL;  // fixed: the first run draws the same numbers

  explicit Random(uint64_t seed = kStartSeed) { seed_(seed); }
  void reseed(uint64_t seed) { seed_(seed); }

  // Uniform in [0, 1) with 53 random bits.
  double next() { return static_cast<double>(nextBits() >> 11) * 0x1.0p-53; }

 private:
  void seed_(uint64_t seed) {
    for (auto& w : s_) {
      seed += 0x9E3779B97F4A7C15ULL;  // splitmix64 spreads any seed over the state
      uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
      w = z ^ (z >> 31);
    }
  }
  static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  uint64_t nextBits() {  // xoshiro256**
    const uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
  }
  uint64_t s_[4];
};

}  // namespace kubrix
