#include "attention_plan.hpp"

#include <gtest/gtest.h>

#include <set>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_attention {
namespace {

TEST(AttentionPlan, EveryEncoderShapeFitsTheChipAndATilesMemory) {
    for (const AttentionShape& shape : encoder_shapes()) {
        SCOPED_TRACE(describe(shape));
        const AttentionPlan plan = plan_attention(shape);
        std::set<std::uint16_t> tiles;
        for (std::uint32_t head = 0; head < shape.head_count(); ++head) {
            std::uint32_t rows = 0;
            for (std::uint32_t block = 0; block < plan.blocks_per_head(); ++block) {
                tiles.insert(plan.tile(head, block));
                EXPECT_EQ(plan.tensor_offset(head, block),
                          head * shape.head_elements() + std::size_t{rows} * shape.head_dim);
                rows += plan.rows(block);
            }
            EXPECT_EQ(rows, shape.sequence) << "the blocks cover every query once";
        }
        EXPECT_EQ(tiles.size(), plan.tile_count()) << "one tile per block";
        EXPECT_LT(*tiles.rbegin(), ipu_exchange::c600_tile_count);
        EXPECT_LE(plan.output_address() + plan.block_bytes(0), ipu_exchange::c600_tile_sram_bytes);
    }
}

TEST(AttentionPlan, ASequenceOf197EndsInAShortBlock) {
    const AttentionPlan plan = plan_attention(AttentionShape{1, 2, 197, 64});
    EXPECT_EQ(plan.blocks_per_head(), 7u);
    EXPECT_EQ(plan.rows(0), 32u);
    EXPECT_EQ(plan.rows(6), 5u);
    EXPECT_EQ(plan.block_bytes(6), 5u * 64 * 2);
    EXPECT_EQ(plan.value_address(), 197u * 64 * 2);
    EXPECT_EQ(plan.output_address(), plan.query_address() + 32u * 64 * 2);
}

TEST(EncoderShapes, CoverHeadDimsBatchSizesAndSequenceLengths) {
    std::set<std::uint32_t> head_dims, batches, sequences;
    for (const AttentionShape& shape : encoder_shapes()) {
        head_dims.insert(shape.head_dim);
        batches.insert(shape.batch);
        sequences.insert(shape.sequence);
        EXPECT_GE(shape.heads, 2u);
    }
    EXPECT_EQ(head_dims, (std::set<std::uint32_t>{32, 64, 128}));
    EXPECT_TRUE(batches.contains(1));
    EXPECT_GE(*batches.rbegin(), 4u);
    EXPECT_TRUE(sequences.contains(197) && sequences.contains(128));
}

}  // namespace
}  // namespace ipu_attention
