#include "attention_plan.hpp"

#include <algorithm>
#include <cassert>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_attention {

std::uint32_t AttentionPlan::rows(std::uint32_t block) const {
    return std::min(query_block, shape.sequence - block * query_block);
}

std::uint16_t AttentionPlan::tile(std::uint32_t head, std::uint32_t block) const {
    const std::uint64_t item = std::uint64_t{head} * blocks_per_head() + block;
    return static_cast<std::uint16_t>(item * ipu_exchange::c600_tile_count / tile_count());
}

AttentionPlan plan_attention(const AttentionShape& shape) {
    const AttentionPlan plan{shape, 32, 64};
    assert(plan.tile_count() <= ipu_exchange::c600_tile_count);
    assert(plan.output_address() + std::uint64_t{plan.query_block} * shape.head_dim * 2 <=
           ipu_exchange::c600_tile_sram_bytes);
    return plan;
}

}  // namespace ipu_attention
