#include "gemm_plan.hpp"

#include <algorithm>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_gemm {
namespace {

// Blocks are at least this wide until the grid reaches its largest size.
constexpr std::uint32_t preferred_block_side = 16;
// The largest grid whose cube of product tiles fits on the chip.
constexpr std::uint32_t largest_grid = 11;
static_assert(largest_grid * largest_grid * largest_grid <= ipu_exchange::c600_tile_count);

std::uint32_t divide_rounding_up(std::uint32_t dividend, std::uint32_t divisor) {
    return dividend / divisor + (dividend % divisor != 0 ? 1 : 0);
}

}  // namespace

std::string block_label(char matrix, BlockCoordinate at) {
    return std::string(1, matrix) + "(" + std::to_string(at.row) + "," + std::to_string(at.column) +
           ")";
}

std::uint16_t GemmPlan::product_tile(std::uint32_t i, std::uint32_t j, std::uint32_t k) const {
    const std::uint64_t product = (std::uint64_t{i} * grid + j) * grid + k;
    return static_cast<std::uint16_t>(product * ipu_exchange::c600_tile_count / product_count());
}

std::expected<GemmPlan, std::string> plan_gemm(std::uint32_t dimension) {
    if (dimension == 0) {
        return std::unexpected("not a positive number");
    }
    const std::uint32_t grid =
        std::min(divide_rounding_up(dimension, preferred_block_side), largest_grid);
    const GemmPlan plan{dimension, grid, divide_rounding_up(dimension, grid)};
    // In 64 bits: the block side of a huge dimension squares past 32 bits.
    const std::uint64_t needed = std::uint64_t{plan.block} * plan.block * 4 * (3 + grid);
    if (needed > ipu_exchange::c600_tile_sram_bytes) {
        return std::unexpected("too large: an output tile would need " + std::to_string(needed) +
                               " bytes, more than the " +
                               std::to_string(ipu_exchange::c600_tile_sram_bytes) +
                               " bytes of a tile's SRAM");
    }
    return plan;
}

}  // namespace ipu_gemm
