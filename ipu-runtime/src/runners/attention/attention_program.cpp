#include "attention_program.hpp"

#include <string>
#include <vector>

#include "flash_attention.hpp"
#include "ipu_runner/physical_tile.hpp"

namespace ipu_attention {
namespace {

using ipu_exchange::ExchangeReceiver;
using ipu_exchange::ExchangeTransfer;
using ipu_sim::ByteRange;

std::expected<ipu_sim::Superstep, ipu_exchange::ExchangeError> share_keys_and_values(
    const AttentionPlan& plan) {
    const auto physical = [&](std::uint32_t head, std::uint32_t block) {
        return ipu_runner::physical_tile(plan.tile(head, block));
    };
    std::vector<ExchangeTransfer> transfers;
    for (std::uint32_t head = 0; head < plan.shape.head_count() && plan.blocks_per_head() > 1;
         ++head) {
        for (const std::uint32_t address : {plan.key_address(), plan.value_address()}) {
            ExchangeTransfer transfer{physical(head, 0), address, plan.head_bytes(), {}};
            for (std::uint32_t block = 1; block < plan.blocks_per_head(); ++block) {
                transfer.receivers.push_back(ExchangeReceiver{physical(head, block), address});
            }
            transfers.push_back(std::move(transfer));
        }
    }
    auto schedule = ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
    if (!schedule) {
        return std::unexpected(schedule.error());
    }
    return ipu_sim::Superstep{"share keys and values", {}, std::move(*schedule), {}};
}

ipu_sim::Codelet attention_codelet(const AttentionPlan& plan, std::uint32_t block,
                                   std::uint16_t physical_tile) {
    const std::uint32_t rows = plan.rows(block);
    const std::uint32_t d = plan.shape.head_dim;
    const std::uint32_t keys = plan.shape.sequence;
    return ipu_sim::Codelet{
        .kernel = std::string(flash_attention_kernel),
        .tile = physical_tile,
        .inputs = {ByteRange{plan.key_address(), plan.head_bytes()},
                   ByteRange{plan.value_address(), plan.head_bytes()},
                   ByteRange{plan.query_address(), plan.block_bytes(block)}},
        .outputs = {ByteRange{plan.output_address(), plan.block_bytes(block)}},
        .cost_class = ipu_sim::CostClass::F16MultiplyAccumulate,
        // Q . K^T and P . V: two multiply-accumulates per query, key and feature.
        .work = 2 * std::uint64_t{rows} * keys * d,
        .body =
            [plan, rows, d, keys](ipu_sim::TileView& view) {
                const Accumulation accumulation =
                    view.fault_injected(ipu_sim::Fault::Fp16Accumulation) ? Accumulation::fp16
                                                                          : Accumulation::fp32;
                const auto key = view.read<_Float16>(plan.key_address(), std::size_t{keys} * d);
                const auto value = view.read<_Float16>(plan.value_address(), std::size_t{keys} * d);
                const auto query = view.read<_Float16>(plan.query_address(), std::size_t{rows} * d);
                std::vector<_Float16> output(query.size());
                flash_attention(query, key, value, d, plan.key_block, accumulation, output);
                view.write<_Float16>(plan.output_address(), output);
            },
    };
}

ipu_sim::Superstep attend(const AttentionPlan& plan, ipu_sim::HostBufferId output) {
    ipu_sim::Superstep step{"flash attention", {}, {}, {}};
    for (std::uint32_t head = 0; head < plan.shape.head_count(); ++head) {
        for (std::uint32_t block = 0; block < plan.blocks_per_head(); ++block) {
            const std::uint16_t tile = ipu_runner::physical_tile(plan.tile(head, block));
            step.compute.push_back(attention_codelet(plan, block, tile));
            step.host_sends.push_back(
                ipu_sim::HostSend{tile, plan.output_address(), plan.block_bytes(block), output,
                                  static_cast<std::uint32_t>(plan.tensor_offset(head, block) * 2)});
        }
    }
    return step;
}

}  // namespace

std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_attention_program(
    const AttentionPlan& plan, ipu_sim::HostBufferId output) {
    auto share = share_keys_and_values(plan);
    if (!share) {
        return std::unexpected(share.error());
    }
    ipu_sim::Program program;
    program.supersteps.push_back(std::move(*share));
    program.supersteps.push_back(attend(plan, output));
    return program;
}

}  // namespace ipu_attention
