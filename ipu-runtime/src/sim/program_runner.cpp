#include "program_runner.hpp"

#include <algorithm>
#include <string>

#include "compute_phase.hpp"
#include "exchange_phase.hpp"
#include "ipu_exchange/topology.hpp"
#include "program_check.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::c600_tile_count;
using ipu_exchange::ExchangeError;

std::uint64_t cycles_to_ns(std::uint64_t cycles) {
    const ipu_scenario::uint128 scaled = ipu_scenario::uint128{cycles} * 1'000'000'000u;
    return static_cast<std::uint64_t>((scaled + device_clock_hz - 1) / device_clock_hz);
}

// Every tile that finished its compute early waits at the sync; then all sync.
void record_sync(CycleLedger& ledger, const Superstep& step, std::uint32_t phase,
                 std::uint64_t start, const std::vector<std::uint64_t>& compute) {
    const std::uint64_t slowest = *std::max_element(compute.begin(), compute.end());
    const std::uint64_t sync_start = start + slowest;
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        ledger.record(tile, StepKind::Idle, start + compute[tile], sync_start, step.operation,
                      "idle", phase, {{"waiting for", "sync"}});
        ledger.record(tile, StepKind::Synchronization, sync_start, sync_start + chip_sync_cycles,
                      step.operation, "sync", phase);
    }
}

// Each tile's exchange from the phase start, then its wait for the slowest tile.
std::uint64_t record_exchange(CycleLedger& ledger, const Superstep& step, std::uint32_t phase,
                              std::uint64_t start) {
    const std::vector<ExchangeActivity> activity = exchange_activity(step);
    std::uint64_t span = 0;
    for (const ExchangeActivity& tile : activity) {
        span = std::max(span, tile.end);
    }
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        const ExchangeActivity& own = activity[tile];
        ledger.record(tile, StepKind::Exchange, start, start + own.end, step.operation, "exchange",
                      phase,
                      {{"bytes sent", std::to_string(own.bytes_sent)},
                       {"bytes received", std::to_string(own.bytes_received)}});
        ledger.record(tile, StepKind::Idle, start + own.end, start + span, step.operation, "idle",
                      phase, {{"waiting for", "exchange"}});
    }
    return start + span;
}

std::expected<void, ExchangeError> run_superstep(DeviceState& state, const Superstep& step,
                                                 std::uint32_t phase) {
    const std::uint64_t start = state.ledger.cycle();
    const std::optional<StaleSend> stale = capture_skipped_sync(state, step);
    const auto compute = run_compute_phase(state, step, phase, start);
    if (!compute) {
        return std::unexpected(compute.error());
    }
    record_sync(state.ledger, step, phase, start, *compute);
    const std::uint64_t exchange_start =
        start + *std::max_element(compute->begin(), compute->end()) + chip_sync_cycles;
    move_exchange_data(state, step, stale);
    state.ledger.advance_to(record_exchange(state.ledger, step, phase, exchange_start));
    return {};
}

}  // namespace

std::expected<RunCycles, ExchangeError> run_program(DeviceState& state, const Program& program) {
    if (auto ok = check_program(program, state.host_buffers); !ok) {
        return std::unexpected(ok.error());
    }
    state.link.start_program();
    state.ledger.begin_run();
    const std::uint64_t start = state.ledger.cycle();
    for (std::size_t phase = 0; phase < program.supersteps.size(); ++phase) {
        auto ok =
            run_superstep(state, program.supersteps[phase], static_cast<std::uint32_t>(phase));
        if (!ok) {
            state.ledger.end_run();
            state.link.finish_program(cycles_to_ns(state.ledger.cycle() - start));
            return std::unexpected(ok.error());
        }
    }
    state.ledger.end_run();
    state.link.finish_program(cycles_to_ns(state.ledger.cycle() - start));
    return RunCycles{start, state.ledger.cycle()};
}

}  // namespace ipu_sim
