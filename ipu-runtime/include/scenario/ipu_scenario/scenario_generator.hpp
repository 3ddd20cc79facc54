#pragma once

#include <cstdint>

namespace ipu_scenario {

// The seeded generator behind every randomized scenario: wyrand, with Lemire's
// nearly divisionless bounded draw. Its sequence is part of the contract with the
// runners, so it is the same on every build and every machine. All arithmetic is
// unsigned and wraps.
__extension__ using uint128 = unsigned __int128;

class ScenarioGenerator {
  public:
    // A generator whose state is `seed`, unmixed. Every seed, 0 included, is valid.
    static constexpr ScenarioGenerator from_seed(std::uint64_t seed) {
        return ScenarioGenerator(seed);
    }

    // Advances the state by one step and returns the next 64-bit output.
    constexpr std::uint64_t next_u64() {
        state_ += 0x2d358dccaa6c78a5ull;
        const uint128 product = static_cast<uint128>(state_) * (state_ ^ 0x8bb84b93962eacc9ull);
        return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
    }

    // The low 32 bits of one full step.
    constexpr std::uint32_t next_u32() { return static_cast<std::uint32_t>(next_u64()); }

    // A uniform value from 0 to n - 1, for n of at least 1. Draws are rejected
    // while the low word of r * n is below (2^32 - n) mod n.
    constexpr std::uint32_t below(std::uint32_t n) {
        std::uint64_t m = std::uint64_t{next_u32()} * n;
        auto low = static_cast<std::uint32_t>(m);
        if (low < n) {
            const std::uint32_t threshold = (0u - n) % n;
            while (low < threshold) {
                m = std::uint64_t{next_u32()} * n;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

    constexpr std::uint64_t state() const { return state_; }

  private:
    constexpr explicit ScenarioGenerator(std::uint64_t seed) : state_(seed) {}

    std::uint64_t state_;
};

}  // namespace ipu_scenario
