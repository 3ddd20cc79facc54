#pragma once

#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "ipu_package/profile_report.hpp"
#include "ipu_sim/fault.hpp"
#include "ipu_sim/step_record.hpp"

namespace ipu_gemm {

// The recorded steps of one tile, named by its physical number.
struct TileSteps {
    std::uint16_t physical_tile;
    std::span<const ipu_sim::StepRecord> steps;
};

// Metadata a runner adds to one recorded step of a physical tile, after the
// device's own entries (for example the peer tiles of an exchange).
using StepAnnotator = std::function<std::vector<ipu_package::ProfileMetadata>(
    std::uint16_t physical_tile, const ipu_sim::StepRecord& step)>;

// The profile report of a run: one tile profile per entry of `tiles`, in that
// order, each with one sample per recorded step (kind, cycles, operation, kernel,
// indices and metadata carried over unchanged, then what `annotate` adds, if
// given). Fails with a phrase when a cycle value does not fit the profile's
// 32-bit cycle fields.
std::expected<ipu_package::ProfileReport, std::string> build_profile(
    std::uint64_t clock_hz, std::span<const TileSteps> tiles, const StepAnnotator& annotate = {});

// Applies `fault` if it is one of the profile faults and says what it did:
//   profile-missing-tile  the last tile is left out;
//   profile-missing-kind  every synchronization sample is left out;
//   profile-zero-clock    the clock rate is written as 0.
// Returns nothing, and leaves the report alone, for every other fault.
std::optional<std::string> apply_profile_fault(ipu_package::ProfileReport& report,
                                               ipu_sim::Fault fault);

}  // namespace ipu_gemm
