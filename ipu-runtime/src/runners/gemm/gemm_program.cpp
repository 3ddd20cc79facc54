#include "gemm_program.hpp"

#include <string>
#include <vector>

#include "gemm_kernels.hpp"
#include "ipu_runner/physical_tile.hpp"

namespace ipu_gemm {
namespace {

using ipu_exchange::ExchangeError;
using ipu_exchange::ExchangeReceiver;
using ipu_exchange::ExchangeTransfer;
using ipu_sim::ByteRange;
using ipu_sim::Codelet;

// Physical tile numbers of the plan's products.
class ProductTiles {
  public:
    explicit ProductTiles(const GemmPlan& plan) : plan_(plan) {}

    std::uint16_t operator()(std::uint32_t i, std::uint32_t j, std::uint32_t k) const {
        return ipu_runner::physical_tile(plan_.product_tile(i, j, k));
    }

  private:
    const GemmPlan& plan_;
};

// A(i,k) goes from its home (i,0,k) to every (i,j,k); B(k,j) from its home
// (0,j,k) to every (i,j,k). One multicast per block; none when grid is 1.
std::expected<ipu_sim::Superstep, ExchangeError> distribute_operands(const GemmPlan& plan,
                                                                     const ProductTiles& tile) {
    const std::uint32_t g = plan.grid;
    std::vector<ExchangeTransfer> transfers;
    for (std::uint32_t k = 0; k < g && g > 1; ++k) {
        for (std::uint32_t i = 0; i < g; ++i) {
            ExchangeTransfer a{tile(i, 0, k), plan.a_address(), plan.block_bytes(), {}};
            for (std::uint32_t j = 1; j < g; ++j) {
                a.receivers.push_back(ExchangeReceiver{tile(i, j, k), plan.a_address()});
            }
            transfers.push_back(std::move(a));
        }
        for (std::uint32_t j = 0; j < g; ++j) {
            ExchangeTransfer b{tile(0, j, k), plan.b_address(), plan.block_bytes(), {}};
            for (std::uint32_t i = 1; i < g; ++i) {
                b.receivers.push_back(ExchangeReceiver{tile(i, j, k), plan.b_address()});
            }
            transfers.push_back(std::move(b));
        }
    }
    auto schedule = ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
    if (!schedule) {
        return std::unexpected(schedule.error());
    }
    return ipu_sim::Superstep{"distribute operands", {}, std::move(*schedule), {}};
}

Codelet block_product(const GemmPlan& plan, std::uint16_t physical_tile) {
    const std::uint32_t bytes = plan.block_bytes();
    return Codelet{
        .kernel = std::string(block_product_kernel),
        .tile = physical_tile,
        .inputs = {ByteRange{plan.a_address(), bytes}, ByteRange{plan.b_address(), bytes}},
        .outputs = {ByteRange{plan.partial_address(), bytes}},
        .cost_class = ipu_sim::CostClass::F32MultiplyAccumulate,
        .work = std::uint64_t{plan.block} * plan.block * plan.block,
        .body =
            [plan](ipu_sim::TileView& view) {
                const auto a = view.read<float>(plan.a_address(), plan.block_elements());
                const auto b = view.read<float>(plan.b_address(), plan.block_elements());
                std::vector<float> product(plan.block_elements());
                multiply_blocks(a, b, plan.block, product);
                view.write<float>(plan.partial_address(), product);
            },
    };
}

std::expected<ipu_sim::Superstep, ExchangeError> block_products(const GemmPlan& plan,
                                                                const ProductTiles& tile) {
    ipu_sim::Superstep step{"block products", {}, {}, {}};
    std::vector<ExchangeTransfer> transfers;
    for (std::uint32_t i = 0; i < plan.grid; ++i) {
        for (std::uint32_t j = 0; j < plan.grid; ++j) {
            for (std::uint32_t k = 0; k < plan.grid; ++k) {
                step.compute.push_back(block_product(plan, tile(i, j, k)));
                if (k > 0) {
                    transfers.push_back(ExchangeTransfer{
                        tile(i, j, k),
                        plan.partial_address(),
                        plan.block_bytes(),
                        {ExchangeReceiver{tile(i, j, 0), plan.received_partial_address(k)}}});
                }
            }
        }
    }
    auto schedule = ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
    if (!schedule) {
        return std::unexpected(schedule.error());
    }
    step.exchange = std::move(*schedule);
    return step;
}

Codelet partial_sum(const GemmPlan& plan, std::uint16_t physical_tile) {
    const std::uint32_t partials_bytes = plan.grid * plan.block_bytes();
    return Codelet{
        .kernel = std::string(partial_sum_kernel),
        .tile = physical_tile,
        .inputs = {ByteRange{plan.partial_address(), partials_bytes}},
        .outputs = {ByteRange{plan.sum_address(), plan.block_bytes()}},
        .cost_class = ipu_sim::CostClass::F32Add,
        .work = std::uint64_t{plan.grid} * plan.block_elements(),
        .body =
            [plan](ipu_sim::TileView& view) {
                const auto partials = view.read<float>(
                    plan.partial_address(), std::size_t{plan.grid} * plan.block_elements());
                std::vector<float> sum(plan.block_elements());
                sum_blocks(partials, sum);
                view.write<float>(plan.sum_address(), sum);
            },
    };
}

ipu_sim::Superstep sum_partials(const GemmPlan& plan, const ProductTiles& tile,
                                ipu_sim::HostBufferId results) {
    ipu_sim::Superstep step{"sum partials", {}, {}, {}};
    for (std::uint32_t i = 0; i < plan.grid; ++i) {
        for (std::uint32_t j = 0; j < plan.grid; ++j) {
            step.compute.push_back(partial_sum(plan, tile(i, j, 0)));
            step.host_sends.push_back(ipu_sim::HostSend{tile(i, j, 0), plan.sum_address(),
                                                        plan.block_bytes(), results,
                                                        result_offset(plan, {i, j})});
        }
    }
    return step;
}

}  // namespace

std::expected<ipu_sim::Program, ExchangeError> build_gemm_program(const GemmPlan& plan,
                                                                  ipu_sim::HostBufferId results) {
    const ProductTiles tile(plan);
    auto distribute = distribute_operands(plan, tile);
    if (!distribute) {
        return std::unexpected(distribute.error());
    }
    auto products = block_products(plan, tile);
    if (!products) {
        return std::unexpected(products.error());
    }
    ipu_sim::Program program;
    program.supersteps.push_back(std::move(*distribute));
    program.supersteps.push_back(std::move(*products));
    program.supersteps.push_back(sum_partials(plan, tile, results));
    return program;
}

}  // namespace ipu_gemm
