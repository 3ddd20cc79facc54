#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ipu_attention {

// The extent of one multi-head self-attention: `batch` sequences of `sequence`
// tokens, each split into `heads` heads of `head_dim` features. Tensors of this
// shape are laid out [batch][head][token][feature], FP16.
struct AttentionShape {
    std::uint32_t batch;
    std::uint32_t heads;
    std::uint32_t sequence;
    std::uint32_t head_dim;

    // Number of (sequence, head) pairs, each an independent attention problem.
    std::size_t head_count() const { return std::size_t{batch} * heads; }
    // Elements of one head's query, key, value or output matrix.
    std::size_t head_elements() const { return std::size_t{sequence} * head_dim; }
    // Elements of a whole query, key, value or output tensor.
    std::size_t tensor_elements() const { return head_count() * head_elements(); }

    friend bool operator==(const AttentionShape&, const AttentionShape&) = default;
};

// "batch 4, heads 2, sequence 197, head dim 32": the shape as a reader wants it.
std::string describe(const AttentionShape& shape);

// The encoder shapes the runner checks, in the order it runs them: head
// dimensions 32, 64 and 128, batch sizes 4 and 1, sequence lengths 128 and 197
// (a ViT-style patch sequence with its class token, not a power of two), two
// heads each. Small enough that a debug build checks them all in a fraction of
// a second.
std::span<const AttentionShape> encoder_shapes();

}  // namespace ipu_attention
