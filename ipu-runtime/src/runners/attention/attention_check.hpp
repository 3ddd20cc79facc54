#pragma once

#include <optional>
#include <span>
#include <string>

#include "attention_inputs.hpp"
#include "attention_reference.hpp"

namespace ipu_attention {

// The largest error the runner accepts in an FP16 output. Outputs lie between 0.25
// and 1.75, where a correctly rounded FP16 value is within 2^-11 of the exact one;
// this allows four times that, and is four times smaller than what accumulating in
// FP16 costs on these shapes.
inline constexpr double error_bound = 0x1p-9;

// The device's error may be at most this multiple of a plain FP16 computation's.
inline constexpr double plain_fp16_error_multiple = 2.0;

// How far a shape's outputs are from the exact attention.
struct AttentionErrors {
    WorstError device;       // over the whole output tensor
    double exact_at_worst;   // the exact value at device.index
    double output_at_worst;  // the device's value there
    double plain_fp16;       // the largest error of the plain FP16 computation
};

// Compares `output` (the device's output tensor) and the plain FP16 computation
// of every head with the double-precision reference.
AttentionErrors measure_errors(const AttentionInputs& inputs, std::span<const _Float16> output);

// "max |error| 4.88e-04 (plain FP16 7.62e-03)": both figures, for the report line.
std::string describe_errors(const AttentionErrors& errors);

// "max |error| <= 1.95e-03 and <= 2.00e+00 x plain FP16": the pass criterion.
std::string describe_criterion();

// Why the errors fail the pass criterion (above error_bound, or above
// plain_fp16_error_multiple times the plain FP16 error; a NaN fails both), naming
// the worst element by batch, head, token and feature; nothing when they pass.
std::optional<std::string> judge_errors(const AttentionShape& shape, const AttentionErrors& errors);

}  // namespace ipu_attention
