#pragma once

#include <cstdint>

namespace korvane::assetkit {

// A seeded generator of our own (splitmix64), so that noise textures and
// noisy sounds come out the same everywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }

  private:
    std::uint64_t state_;
};

}  // namespace korvane::assetkit
