#pragma once

#include <cstdint>

#include "attention_shape.hpp"

namespace ipu_attention {

// How one shape's attention is spread over the tiles. Each head's queries are cut
// into blocks of `query_block` rows (the last may be shorter), and each block goes
// to a tile of its own, which holds the head's whole keys and values and visits
// them `key_block` keys at a time. The head's first block tile is its home: the
// host writes the keys and values there, and it multicasts them to the head's
// other tiles.
//
// Every tile lays out its SRAM the same way, from address 0, FP16 row-major:
//   keys (sequence x head_dim) | values | query rows (query_block x head_dim) | output rows
struct AttentionPlan {
    AttentionShape shape;
    std::uint32_t query_block;
    std::uint32_t key_block;

    std::uint32_t blocks_per_head() const {
        return (shape.sequence + query_block - 1) / query_block;
    }
    std::uint32_t tile_count() const {
        return static_cast<std::uint32_t>(shape.head_count()) * blocks_per_head();
    }
    // Query rows of block `block` of a head.
    std::uint32_t rows(std::uint32_t block) const;
    // Logical tile of block `block` of head `head` (counted over the batch); the
    // blocks of all heads are spread evenly over the chip.
    std::uint16_t tile(std::uint32_t head, std::uint32_t block) const;

    std::uint32_t head_bytes() const { return shape.sequence * shape.head_dim * 2; }
    std::uint32_t block_bytes(std::uint32_t block) const {
        return rows(block) * shape.head_dim * 2;
    }
    std::uint32_t key_address() const { return 0; }
    std::uint32_t value_address() const { return head_bytes(); }
    std::uint32_t query_address() const { return 2 * head_bytes(); }
    std::uint32_t output_address() const {
        return 2 * head_bytes() + query_block * shape.head_dim * 2;
    }

    // Element offset of a head's block in a [batch][head][token][feature] tensor.
    std::size_t tensor_offset(std::uint32_t head, std::uint32_t block) const {
        return head * shape.head_elements() + std::size_t{block} * query_block * shape.head_dim;
    }
};

// The plan the runner uses for `shape`: query blocks of 32 rows, key blocks of 64.
// Precondition: the shape's tiles fit on the chip and its data in one tile's SRAM
// (true of every encoder shape).
AttentionPlan plan_attention(const AttentionShape& shape);

}  // namespace ipu_attention
