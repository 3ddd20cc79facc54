#pragma once

#include <optional>

#include "gemm_settings.hpp"
#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/device.hpp"
#include "profile_file.hpp"

namespace ipu_gemm {

// One run of the blocked GEMM on `device`: seeded operands written block by block
// (H2D, then a fence), the program of gemm_program.hpp, every element of the
// gathered result compared bit for bit with the exact host product (padding
// included), then, when asked for, the checked output block read back from its
// tile's SRAM and compared too, and the cycle profile of all 1472 tiles committed
// to `profile`. Returns the summary line, or the first failure: a refused step or
// a mismatch (status 1), or a profile that cannot be written (status 2).
ipu_runner::RunnerOutcome run_gemm(const GemmSettings& settings, ipu_sim::Device& device,
                                   std::optional<PendingProfileFile> profile);

// The whole of ipu-gemm-e2e: its settings (gemm_settings_from_environment), the
// device settings of this process (ipu_runner::device_config_setting), with steps
// recorded only when a profile is asked for since the profile is made of them,
// then the profile's temporary file, created before anything runs so that an
// unwritable path is refused up front (a bad setting), then run_gemm.
ipu_runner::RunnerOutcome run_gemm_e2e();

}  // namespace ipu_gemm
