#include "attention_runner.hpp"

#include <cstring>
#include <vector>

#include "attention_check.hpp"
#include "attention_inputs.hpp"
#include "attention_plan.hpp"
#include "attention_program.hpp"
#include "ipu_runner/device_settings.hpp"
#include "ipu_runner/tile_io.hpp"

namespace ipu_attention {
namespace {

using ipu_runner::RunnerFailure;
using Failure = std::unexpected<RunnerFailure>;

// Seed of the first shape's inputs; each further shape takes the next one.
constexpr std::uint64_t input_seed = 0x6174746e;  // "attn"

std::span<const std::uint8_t> bytes_of(std::span<const _Float16> values) {
    return {reinterpret_cast<const std::uint8_t*>(values.data()), values.size_bytes()};
}

// Each head's keys and values to its home tile, each block's query rows to its tile.
ipu_runner::DeviceStep write_inputs(const AttentionPlan& plan, const AttentionInputs& inputs,
                                    ipu_sim::Device& device) {
    for (std::uint32_t head = 0; head < plan.shape.head_count(); ++head) {
        const std::uint16_t home = plan.tile(head, 0);
        if (auto keys = ipu_runner::write_tile(device, home, plan.key_address(),
                                               bytes_of(inputs.head_slice(inputs.key, head)));
            !keys) {
            return keys;
        }
        if (auto values = ipu_runner::write_tile(device, home, plan.value_address(),
                                                 bytes_of(inputs.head_slice(inputs.value, head)));
            !values) {
            return values;
        }
        for (std::uint32_t block = 0; block < plan.blocks_per_head(); ++block) {
            const auto rows = std::span(inputs.query)
                                  .subspan(plan.tensor_offset(head, block),
                                           std::size_t{plan.rows(block)} * plan.shape.head_dim);
            if (auto queries = ipu_runner::write_tile(device, plan.tile(head, block),
                                                      plan.query_address(), bytes_of(rows));
                !queries) {
                return queries;
            }
        }
    }
    return {};
}

std::vector<_Float16> output_tensor(std::span<const std::uint8_t> bytes) {
    std::vector<_Float16> tensor(bytes.size() / sizeof(_Float16));
    std::memcpy(tensor.data(), bytes.data(), tensor.size() * sizeof(_Float16));
    return tensor;
}

// Runs one shape and returns its report line.
std::expected<std::string, RunnerFailure> check_shape(const AttentionShape& shape,
                                                      std::uint64_t seed, ipu_sim::Device& device) {
    const AttentionPlan plan = plan_attention(shape);
    const AttentionInputs inputs = make_attention_inputs(shape, seed);
    if (auto written = write_inputs(plan, inputs, device); !written) {
        return Failure(std::move(written.error()));
    }
    device.fence();

    const auto output_buffer =
        device.create_host_buffer(static_cast<std::uint32_t>(shape.tensor_elements() * 2));
    const auto cycles =
        ipu_runner::run_built_program(device, build_attention_program(plan, output_buffer),
                                      "attention exchange schedule", "the attention program");
    if (!cycles) {
        return Failure(cycles.error());
    }

    const auto output = output_tensor(device.host_buffer(output_buffer));
    const AttentionErrors errors = measure_errors(inputs, output);
    if (const auto failure = judge_errors(shape, errors)) {
        return Failure(
            RunnerFailure(ipu_runner::ExitStatus::failed, describe(shape) + ": " + *failure));
    }
    return describe(shape) + ": " + describe_errors(errors) + " on " +
           std::to_string(plan.tile_count()) + " tiles, " +
           std::to_string(cycles->end_cycle - cycles->start_cycle) + " cycles";
}

}  // namespace

ipu_runner::RunnerOutcome run_attention(ipu_sim::Device& device, const ShapeReport& report) {
    const auto shapes = encoder_shapes();
    for (std::size_t index = 0; index < shapes.size(); ++index) {
        const auto line = check_shape(shapes[index], input_seed + index, device);
        if (!line) {
            return Failure(line.error());
        }
        report(*line);
    }
    return "FP16 FlashAttention of " + std::to_string(shapes.size()) +
           " encoder shapes matches the double-precision attention (" + describe_criterion() + ")";
}

ipu_runner::RunnerOutcome run_attention_f16_e2e(const ShapeReport& report) {
    auto device = ipu_runner::open_device();
    if (!device) {
        return Failure(RunnerFailure(device.error()));
    }
    return run_attention(*device, report);
}

}  // namespace ipu_attention
