#pragma once

#include <cstdint>
#include <span>

namespace ipu_gemm {

// The arithmetic of the GEMM codelets, on blocks already read from tile memory.

// product = a . b for `side` x `side` row-major FP32 blocks, each element summed
// in FP32 over the inner index in ascending order.
void multiply_blocks(std::span<const float> a, std::span<const float> b, std::uint32_t side,
                     std::span<float> product);

// sum = the element-wise FP32 sum of the consecutive blocks in `partials`, each
// sum.size() elements long, added in the order they are stored.
void sum_blocks(std::span<const float> partials, std::span<float> sum);

}  // namespace ipu_gemm
