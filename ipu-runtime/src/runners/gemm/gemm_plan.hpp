#pragma once

#include <cstdint>
#include <expected>
#include <string>

namespace ipu_gemm {

// Coordinates of one block of a blocked matrix: block row and block column.
struct BlockCoordinate {
    std::uint32_t row;
    std::uint32_t column;

    friend bool operator==(const BlockCoordinate&, const BlockCoordinate&) = default;
};

// "C(1,2)": block `at` of the matrix named `matrix`, as reports name it.
std::string block_label(char matrix, BlockCoordinate at);

// How an n x n by n x n product is cut into blocks and spread over the tiles.
//
// Each matrix is a grid x grid array of square blocks of `block` x `block` FP32
// elements; the last block row and column are padded with zeros when n is not a
// multiple of the block side. The product tile (i, j, k) receives A(i,k) and
// B(k,j) and computes the partial product A(i,k) . B(k,j); the partials of
// output block (i, j) are summed on product tile (i, j, 0), its output tile.
//
// Every product tile lays its SRAM out the same way, from address 0:
//   A block | B block | own partial | partials received for k = 1 .. grid-1 | sum
// The last two regions are used on output tiles only.
struct GemmPlan {
    std::uint32_t dimension;
    std::uint32_t grid;
    std::uint32_t block;

    std::uint32_t block_elements() const { return block * block; }
    std::uint32_t block_bytes() const { return block_elements() * 4; }
    std::uint32_t product_count() const { return grid * grid * grid; }

    // Logical tile of product (i, j, k); products are spread evenly over all
    // tiles, so both lanes and every row and column of the chip take part.
    std::uint16_t product_tile(std::uint32_t i, std::uint32_t j, std::uint32_t k) const;
    // Logical tile that holds output block (i, j) once the partials are summed.
    std::uint16_t output_tile(BlockCoordinate output) const {
        return product_tile(output.row, output.column, 0);
    }

    std::uint32_t a_address() const { return 0; }
    std::uint32_t b_address() const { return block_bytes(); }
    std::uint32_t partial_address() const { return 2 * block_bytes(); }
    // Where output tiles receive the partial of product k (1 <= k < grid); the
    // received partials follow the tile's own one without a gap.
    std::uint32_t received_partial_address(std::uint32_t k) const {
        return (2 + k) * block_bytes();
    }
    std::uint32_t sum_address() const { return (2 + grid) * block_bytes(); }
    // SRAM an output tile uses, the most of any tile.
    std::uint64_t output_tile_bytes() const { return std::uint64_t{3 + grid} * block_bytes(); }
};

// The plan for an n x n product: grid = min(ceil(n / 16), 11) blocks per side
// (so at most 11^3 = 1331 product tiles of the 1472), block = ceil(n / grid).
// Fails with a phrase saying why when n is 0 or an output tile's data would not
// fit in one tile's SRAM (from n = 1167 on).
std::expected<GemmPlan, std::string> plan_gemm(std::uint32_t dimension);

}  // namespace ipu_gemm
