#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ipu_attention {

// The exact attention of one head, softmax(Q . K^T / sqrt(head_dim)) . V, in double
// precision from the given FP16 inputs; row-major, the shape of `query_rows`.
// Preconditions as for flash_attention.
std::vector<double> reference_attention(std::span<const _Float16> query_rows,
                                        std::span<const _Float16> keys,
                                        std::span<const _Float16> values, std::uint32_t head_dim);

// The same attention as a plain FP16 computation would do it, without tiling:
// every product, sum, exponential and quotient rounded to FP16. Its error
// against the reference is what FP16 arithmetic alone costs.
std::vector<_Float16> plain_fp16_attention(std::span<const _Float16> query_rows,
                                           std::span<const _Float16> keys,
                                           std::span<const _Float16> values,
                                           std::uint32_t head_dim);

// The largest absolute difference between two equally long sequences, and the
// index of its first occurrence.
struct WorstError {
    double error = 0.0;
    std::size_t index = 0;
};

// The largest |actual[i] - reference[i]| (0 at index 0 for empty inputs). Sizes
// must match. The first NaN in `actual` is the result, with error NaN, so that a
// comparison against a bound fails.
WorstError max_abs_error(std::span<const _Float16> actual, std::span<const double> reference);

}  // namespace ipu_attention
