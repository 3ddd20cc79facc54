#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "attention_shape.hpp"

namespace ipu_attention {

// Query, key and value tensors of one shape, laid out [batch][head][token][feature].
struct AttentionInputs {
    AttentionShape shape;
    std::vector<_Float16> query;
    std::vector<_Float16> key;
    std::vector<_Float16> value;

    // The slice of `tensor` that belongs to head `head` (counted over the batch).
    std::span<const _Float16> head_slice(const std::vector<_Float16>& tensor,
                                         std::size_t head) const;
};

// Seeded, reproducible inputs: queries and keys uniform in [-1.5, 1.5] (scores of
// a fraction of a unit after the 1/sqrt(d) scale, so the softmax is neither flat
// nor one-hot), values uniform in [0.25, 1.75] (outputs near 1, where an FP16 ulp
// is 2^-10). Every value is rounded to FP16 once; the same seed gives the same
// tensors on every machine.
AttentionInputs make_attention_inputs(const AttentionShape& shape, std::uint64_t seed);

}  // namespace ipu_attention
