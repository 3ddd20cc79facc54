#pragma once

#include <expected>
#include <string_view>

#include "gemm_plan.hpp"
#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_gemm {

// Kernel names of the two codelets, as step records and profiles show them.
inline constexpr std::string_view block_product_kernel = "gemm_block_product";
inline constexpr std::string_view partial_sum_kernel = "gemm_partial_sum";

// Where the sum of output block `at` lands in the results host buffer, which holds
// the grid x grid output blocks in row-major block order.
inline std::uint32_t result_offset(const GemmPlan& plan, BlockCoordinate at) {
    return (at.row * plan.grid + at.column) * plan.block_bytes();
}

// The device program of `plan`, with the operand blocks already written to their
// home tiles (A(i,k) on product tile (i,0,k), B(k,j) on product tile (0,j,k)).
// Three supersteps, on the physical numbers of the plan's tiles:
//   "distribute operands"  exchange only: each home tile multicasts its block to
//                          the other product tiles that need it;
//   "block products"       every product tile multiplies its two blocks; products
//                          with k >= 1 send their partial to their output tile;
//   "sum partials"         every output tile sums its partials and sends the sum
//                          to `results` at result_offset.
// Fails when an exchange schedule is refused.
std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_gemm_program(
    const GemmPlan& plan, ipu_sim::HostBufferId results);

}  // namespace ipu_gemm
