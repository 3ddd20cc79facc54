#pragma once

#include <functional>
#include <string>

#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/device.hpp"

namespace ipu_attention {

// One run of ipu-attention-f16-e2e on `device`: for each encoder shape in turn,
// seeded FP16 inputs written to the tiles (H2D, then a fence), the program of
// attention_program.hpp, the output tensor gathered from the tiles, and its error
// against the double-precision reference judged against the pass criterion of
// attention_check.hpp. Hands `report` one line per shape that passed (its shape,
// both error figures, tiles and cycles). Returns the summary line, or the first
// failure: a refused step or an output outside the criterion (status 1).
using ShapeReport = std::function<void(const std::string& line)>;
ipu_runner::RunnerOutcome run_attention(ipu_sim::Device& device, const ShapeReport& report);

// The whole of ipu-attention-f16-e2e: a device with the device settings of this
// process (ipu_runner::open_device), then run_attention.
ipu_runner::RunnerOutcome run_attention_f16_e2e(const ShapeReport& report);

}  // namespace ipu_attention
