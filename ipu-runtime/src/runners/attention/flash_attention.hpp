#pragma once

#include <cstdint>
#include <span>

namespace ipu_attention {

// The number type in which the kernel sums: dot products, the running softmax
// denominator and the weighted sum of values. Inputs and outputs are FP16 either way.
enum class Accumulation { fp32, fp16 };

// FlashAttention over one head: for each of the rows of `query_rows` (row-major,
// `head_dim` features each), softmax(q . k^T / sqrt(head_dim)) . V over the rows
// of `keys` and `values`, visited `key_block` keys at a time with an online
// softmax (running maximum and running sum, earlier partial sums rescaled when
// the maximum grows), so no row of scores is ever held whole. Inputs are read
// as FP16 and widened; the result of each row is divided by its running sum and
// rounded to FP16 (nearest, ties to even) into `output_rows`.
//
// Preconditions: head_dim >= 1, key_block >= 1, keys and values non-empty with
// the same size, every size a multiple of head_dim, and output_rows the size of
// query_rows.
void flash_attention(std::span<const _Float16> query_rows, std::span<const _Float16> keys,
                     std::span<const _Float16> values, std::uint32_t head_dim,
                     std::uint32_t key_block, Accumulation accumulation,
                     std::span<_Float16> output_rows);

}  // namespace ipu_attention
