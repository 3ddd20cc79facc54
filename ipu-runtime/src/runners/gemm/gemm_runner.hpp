#pragma once

#include <optional>

#include "gemm_settings.hpp"
#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/device.hpp"
#include "profile_file.hpp"

namespace ipu_gemm {

// The temporary file for the profile that `settings` asks for, created before
// anything runs so that an unwritable path is refused up front (a bad setting).
// Nothing when no profile is asked for.
std::expected<std::optional<PendingProfileFile>, ipu_runner::RunnerFailure> open_profile_file(
    const GemmSettings& settings);

// One run of the blocked GEMM on `device`: seeded operands written block by block
// (H2D, then a fence), the program of gemm_program.hpp, every element of the
// gathered result compared bit for bit with the exact host product (padding
// included), then, when asked for, the checked output block read back from its
// tile's SRAM and compared too, and the cycle profile of all 1472 tiles committed
// to `profile`. Returns the summary line, or the first failure: a refused step or
// a mismatch (status 1), or a profile that cannot be written (status 2).
ipu_runner::RunnerOutcome run_gemm(const GemmSettings& settings, ipu_sim::Device& device,
                                   std::optional<PendingProfileFile> profile);

}  // namespace ipu_gemm
