#include <gtest/gtest.h>

#include <set>

#include "gemm_kernels.hpp"
#include "gemm_matrices.hpp"
#include "gemm_plan.hpp"
#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_gemm {
namespace {

TEST(GemmPlan, ChoosesGridAndBlockFromTheDimension) {
    const struct {
        std::uint32_t dimension, grid, block;
    } cases[] = {
        {1, 1, 1},    {16, 1, 16},   {17, 2, 9},    {100, 7, 15},
        {128, 8, 16}, {176, 11, 16}, {177, 11, 17}, {1166, 11, 106},
    };
    for (const auto& c : cases) {
        const auto plan = plan_gemm(c.dimension);
        ASSERT_TRUE(plan.has_value()) << c.dimension << ": " << plan.error();
        EXPECT_EQ(plan->grid, c.grid) << c.dimension;
        EXPECT_EQ(plan->block, c.block) << c.dimension;
        EXPECT_GE(plan->grid * plan->block, c.dimension);
        EXPECT_LE(plan->output_tile_bytes(), ipu_exchange::c600_tile_sram_bytes);
    }
}

TEST(GemmPlan, RefusesAnEmptyMatrixAndOneThatDoesNotFitInTileMemory) {
    EXPECT_EQ(plan_gemm(0).error(), "not a positive number");
    for (const std::uint32_t dimension : {1167u, 100000u, 4294967295u}) {
        const auto plan = plan_gemm(dimension);
        ASSERT_FALSE(plan.has_value()) << dimension;
        EXPECT_NE(plan.error().find("too large"), std::string::npos) << plan.error();
    }
    EXPECT_EQ(plan_gemm(1167).error(),
              "too large: an output tile would need 641144 bytes, more than the 638976 bytes "
              "of a tile's SRAM");
}

TEST(GemmPlan, SpreadsProductsOverDistinctTilesOfTheWholeChip) {
    for (const std::uint32_t dimension : {1u, 17u, 128u, 1166u}) {
        const GemmPlan plan = *plan_gemm(dimension);
        std::set<std::uint16_t> tiles;
        for (std::uint32_t i = 0; i < plan.grid; ++i) {
            for (std::uint32_t j = 0; j < plan.grid; ++j) {
                for (std::uint32_t k = 0; k < plan.grid; ++k) {
                    tiles.insert(plan.product_tile(i, j, k));
                }
            }
        }
        EXPECT_EQ(tiles.size(), plan.product_count()) << dimension;
        EXPECT_EQ(*tiles.begin(), 0) << dimension;
        EXPECT_LT(*tiles.rbegin(), ipu_exchange::c600_tile_count) << dimension;
        // The last product sits within one spacing (1472 / products) of the last tile.
        EXPECT_GE(*tiles.rbegin() + 1472 / plan.product_count() + 1, 1472u) << dimension;
    }
}

TEST(GemmPlan, OutputTileRegionsFollowEachOtherWithoutOverlap) {
    const GemmPlan plan = *plan_gemm(128);
    const std::uint32_t bytes = plan.block_bytes();
    EXPECT_EQ(plan.b_address(), plan.a_address() + bytes);
    EXPECT_EQ(plan.partial_address(), plan.b_address() + bytes);
    EXPECT_EQ(plan.received_partial_address(1), plan.partial_address() + bytes);
    EXPECT_EQ(plan.sum_address(), plan.received_partial_address(plan.grid - 1) + bytes);
    EXPECT_EQ(plan.output_tile_bytes(), std::uint64_t{plan.sum_address()} + bytes);
}

TEST(GemmInputs, AreReproducibleSmallIntegers) {
    const GemmInputs first = make_gemm_inputs(33, 5);
    EXPECT_EQ(first.a, make_gemm_inputs(33, 5).a);
    EXPECT_NE(first.b, make_gemm_inputs(33, 6).b);
    std::set<float> seen;
    for (const float element : first.a.elements) {
        ASSERT_EQ(element, static_cast<float>(static_cast<int>(element)));
        seen.insert(element);
    }
    EXPECT_EQ(seen.size(), 17u) << "every value from -8 to 8 occurs";
    EXPECT_EQ(*seen.begin(), -8.0f);
    EXPECT_EQ(*seen.rbegin(), 8.0f);
}

TEST(ReferenceProduct, MatchesAProductWorkedByHand) {
    const Matrix a{2, {1, 2, 3, 4}};
    const Matrix b{2, {5, 6, 7, -8}};
    EXPECT_EQ(reference_product(a, b), (Matrix{2, {19, -10, 43, -14}}));
}

// The decomposition the device runs, done on the host with the same kernels:
// extract padded blocks, multiply per (i, j, k), sum over k, insert. It must
// give the exact product, ragged last blocks included.
TEST(BlockedProduct, ReassemblesTheExactProductForRaggedAndWholeBlockings) {
    for (const std::uint32_t dimension : {1u, 5u, 16u, 17u, 40u, 128u}) {
        SCOPED_TRACE(dimension);
        const GemmPlan plan = *plan_gemm(dimension);
        const GemmInputs inputs = make_gemm_inputs(dimension, dimension);
        Matrix result{dimension, std::vector<float>(std::size_t{dimension} * dimension, -1.0f)};
        std::vector<float> partials(std::size_t{plan.grid} * plan.block_elements());
        std::vector<float> sum(plan.block_elements());
        for (std::uint32_t i = 0; i < plan.grid; ++i) {
            for (std::uint32_t j = 0; j < plan.grid; ++j) {
                for (std::uint32_t k = 0; k < plan.grid; ++k) {
                    multiply_blocks(extract_block(inputs.a, plan, {i, k}),
                                    extract_block(inputs.b, plan, {k, j}), plan.block,
                                    std::span(partials).subspan(k * plan.block_elements(),
                                                                plan.block_elements()));
                }
                sum_blocks(partials, sum);
                insert_block(result, plan, {i, j}, sum);
            }
        }
        EXPECT_EQ(result, reference_product(inputs.a, inputs.b));
    }
}

TEST(Blocks, PadWithZerosPastTheMatrixAndInsertOnlyWhatLiesInside) {
    const GemmPlan plan = *plan_gemm(17);  // 2 x 2 blocks of 9: the last is 8 wide
    Matrix matrix{17, std::vector<float>(17 * 17)};
    for (std::size_t e = 0; e < matrix.elements.size(); ++e) {
        matrix.elements[e] = static_cast<float>(e + 1);
    }
    const std::vector<float> corner = extract_block(matrix, plan, {1, 1});
    EXPECT_EQ(corner[0], static_cast<float>(9 * 17 + 9 + 1));
    EXPECT_EQ(corner[7], static_cast<float>(9 * 17 + 16 + 1));
    EXPECT_EQ(corner[8], 0.0f) << "column 17 is padding";
    EXPECT_EQ(corner[7 * 9 + 7], static_cast<float>(16 * 17 + 16 + 1));
    EXPECT_EQ(corner[8 * 9], 0.0f) << "row 17 is padding";

    Matrix copy{17, std::vector<float>(17 * 17, 0.0f)};
    for (std::uint32_t i = 0; i < 2; ++i) {
        for (std::uint32_t j = 0; j < 2; ++j) {
            insert_block(copy, plan, {i, j}, extract_block(matrix, plan, {i, j}));
        }
    }
    EXPECT_EQ(copy, matrix);
}

}  // namespace
}  // namespace ipu_gemm
