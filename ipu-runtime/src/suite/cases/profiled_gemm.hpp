#pragma once

#include <optional>
#include <string>

#include "ipu_package/profile_report.hpp"

namespace hardware_suite {

// Where the GEMM runner writes its profile: "quillmesh-gemm-profile-<pid>.capnp"
// in $TMPDIR (raw bytes), or in /tmp when TMPDIR is unset; an empty TMPDIR gives
// the bare name.
std::string gemm_profile_path();

// The message of the first check that `profile` fails, in the fixed order: tile
// count 1472, a positive clock, samples on every tile, then each step kind
// (Exchange, Compute, Synchronization, Idle) present somewhere. None when all pass.
std::optional<std::string> profile_check_failure(const ipu_package::ProfileReport& profile);

// Runs the profiled blocked GEMM, reads its profile back, checks it and removes
// the file after a pass.
void blocked_gemm_with_cycle_profile_works();

}  // namespace hardware_suite
