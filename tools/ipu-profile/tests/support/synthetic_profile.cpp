#include "synthetic_profile.hpp"

#include <cmath>
#include <ipu_exchange/topology.hpp>
#include <string>

namespace ipu_profile::testing {
namespace {

using ipu_package::CycleSample;
using ipu_package::ProfileStep;
using ipu_package::ProfileStepKind;

struct RoundStep {
    const char* operation;
    const char* kernel;
    ProfileStepKind kind;
};

// One round of the blocked product, in the order a tile runs it.
constexpr RoundStep round_steps[] = {
    {"gemm.load_a", "exchange_receive", ProfileStepKind::Exchange},
    {"gemm.load_b", "exchange_receive", ProfileStepKind::Exchange},
    {"gemm.block", "hmac_f16_16x16", ProfileStepKind::Compute},
    {"gemm.accumulate", "vadd_f32", ProfileStepKind::Compute},
    {"gemm.barrier", "sync_internal", ProfileStepKind::Synchronization},
    {"gemm.wait", "idle", ProfileStepKind::Idle},
};

// A small deterministic jitter in [0, 1).
double jitter(std::uint32_t tile, std::size_t sample) {
    std::uint32_t x = tile * 2654435761u ^ static_cast<std::uint32_t>(sample) * 40503u;
    x ^= x >> 13;
    x *= 0x5bd1e995u;
    x ^= x >> 15;
    return static_cast<double>(x % 1000u) / 1000.0;
}

std::uint32_t step_cycles(const RoundStep& step, std::uint32_t physical, std::size_t sample) {
    const double row = physical / 64;
    const double column = physical % 64;
    const double distance = std::hypot(row - 15.0, (column - 44.0) / 2.0);
    const double hot_spot = std::exp(-distance * distance / 40.0);
    const double noise = jitter(physical, sample);
    switch (step.kind) {
        case ProfileStepKind::Exchange:
            return static_cast<std::uint32_t>(180.0 + 6.0 * column + 160.0 * noise);
        case ProfileStepKind::Compute:
            return static_cast<std::uint32_t>(900.0 + 20.0 * row + 1400.0 * hot_spot +
                                              200.0 * noise);
        case ProfileStepKind::Synchronization:
            return static_cast<std::uint32_t>(120.0 + 60.0 * noise);
        case ProfileStepKind::Idle:
            return static_cast<std::uint32_t>(500.0 * (1.0 - hot_spot) + 300.0 * noise);
    }
    return 0;
}

ProfileStep round_step(const RoundStep& step, std::size_t sample, std::size_t metadata_count,
                       bool hostile) {
    ProfileStep profile_step{
        .local_index = static_cast<std::uint32_t>(sample % std::size(round_steps)),
        .phase = static_cast<std::uint32_t>(sample / std::size(round_steps)),
        .epoch = 0,
        .operation = hostile ? "</script><script>window.__pwned = 1</script>" : step.operation,
        .kind = step.kind,
        .kernel = hostile ? "<img src=x onerror=\"window.__pwned = 2\">" : step.kernel,
        .metadata = {},
    };
    const char* names[] = {"block_row", "block_column", "bytes"};
    for (std::size_t i = 0; i < metadata_count; ++i) {
        profile_step.metadata.push_back(
            {i < std::size(names) ? names[i] : "entry_" + std::to_string(i),
             std::to_string((sample * 7 + i * 13) % 64)});
    }
    return profile_step;
}

}  // namespace

ipu_package::ProfileReport synthetic_profile(const SyntheticProfileShape& shape) {
    constexpr std::uint16_t hostile_logical_tile = 700;
    ipu_package::ProfileReport report{.clock_hz = 1'330'000'000, .tiles = {}};
    report.tiles.reserve(ipu_exchange::c600_tile_count);
    for (std::uint16_t logical = 0; logical < ipu_exchange::c600_tile_count; ++logical) {
        const std::uint16_t physical = ipu_exchange::c600_logical_to_physical(logical);
        ipu_package::TileProfile tile{.physical_tile = physical, .samples = {}};
        tile.samples.reserve(shape.samples_per_tile);
        std::uint32_t cycle = 1000u + static_cast<std::uint32_t>(jitter(physical, 0) * 50.0);
        for (std::size_t sample = 0; sample < shape.samples_per_tile; ++sample) {
            const RoundStep& step = round_steps[sample % std::size(round_steps)];
            const bool hostile = shape.hostile_names && logical == hostile_logical_tile;
            const std::uint32_t cycles = step_cycles(step, physical, sample);
            tile.samples.push_back(CycleSample{
                .step = round_step(step, sample, shape.metadata_per_step, hostile),
                .start_cycle = cycle,
                .end_cycle = cycle + cycles,
            });
            cycle += cycles;
        }
        report.tiles.push_back(std::move(tile));
    }
    return report;
}

}  // namespace ipu_profile::testing
