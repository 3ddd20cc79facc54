#include "attention_shape.hpp"

#include <array>

namespace ipu_attention {

std::string describe(const AttentionShape& shape) {
    return "batch " + std::to_string(shape.batch) + ", heads " + std::to_string(shape.heads) +
           ", sequence " + std::to_string(shape.sequence) + ", head dim " +
           std::to_string(shape.head_dim);
}

std::span<const AttentionShape> encoder_shapes() {
    static constexpr std::array shapes{
        //             batch heads sequence head_dim
        AttentionShape{4, 2, 128, 32},
        AttentionShape{1, 2, 197, 64},
        AttentionShape{1, 2, 128, 128},
    };
    return shapes;
}

}  // namespace ipu_attention
