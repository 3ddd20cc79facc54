#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ipu_package/profile_report.hpp>
#include <optional>
#include <string>
#include <vector>

#include "ipu_profile/step_kinds.hpp"

namespace ipu_profile {

// What one physical tile spent its cycles on. Entries of the report that repeat a
// physical number are added together: they describe the same tile.
struct TileTotals {
    std::uint32_t physical_tile = 0;
    std::uint64_t samples = 0;
    KindCycles cycles{};

    std::uint64_t total_cycles() const;
    // Cycles of every kind but idle.
    std::uint64_t busy_cycles() const;
};

// The cost of one step, named by its operation and kernel, over every tile.
struct StepTotals {
    std::string operation;
    std::string kernel;
    std::uint64_t samples = 0;
    KindCycles cycles{};
    // Which kinds the step's samples had (a sample of 0 cycles still counts).
    std::array<bool, step_kind_count> has_kind{};

    std::uint64_t total_cycles() const;
    // The kinds in `has_kind`, in the order of all_step_kinds.
    std::vector<ProfileStepKind> kinds() const;
};

// The cycle counter values between which every sample of the profile lies.
struct CycleSpan {
    std::uint32_t first_cycle = 0;
    std::uint32_t last_cycle = 0;

    std::uint64_t cycles() const { return last_cycle - first_cycle; }
};

// A profile reduced to what a person reads first: where the cycles went, per kind,
// per tile and per step.
struct ProfileSummary {
    std::uint64_t clock_hz = 0;
    // Tiles as the report lists them, repeats included; `tiles` has one per number.
    std::size_t tile_entries = 0;
    std::uint64_t samples = 0;
    // Samples whose end lies before their start; they count as 0 cycles.
    std::uint64_t reversed_samples = 0;
    // Absent when the profile has no samples.
    std::optional<CycleSpan> span;
    KindCycles kind_cycles{};
    // One entry per physical tile number, in ascending order of the number.
    std::vector<TileTotals> tiles;
    // One entry per distinct (operation, kernel), costliest first; equal costs in
    // order of operation, then kernel.
    std::vector<StepTotals> steps;

    // Cycles of all samples together, the base of every share.
    std::uint64_t total_cycles() const;

    // The `count` tiles with the most busy cycles, most first, then by number.
    std::vector<const TileTotals*> busiest_tiles(std::size_t count) const;
    // The `count` tiles with the fewest busy cycles, fewest first, then by number.
    std::vector<const TileTotals*> idlest_tiles(std::size_t count) const;
};

// Adds up every sample of `report` in one pass. Never fails: any report, even an
// empty one or one with a clock rate of 0, has a summary.
ProfileSummary summarise(const ipu_package::ProfileReport& report);

// `part` as a fraction of `whole`; 0 when `whole` is 0.
double share_of(std::uint64_t part, std::uint64_t whole);

}  // namespace ipu_profile
