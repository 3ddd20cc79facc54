#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ipu_sim {

// What a tile was doing during a recorded step.
enum class StepKind { Exchange, Compute, Synchronization, Idle };

struct StepMetadata {
    std::string name;
    std::string value;

    friend bool operator==(const StepMetadata&, const StepMetadata&) = default;
};

// One timed step of one tile. Cycles are values of the device's cycle counter,
// which starts at 0 and runs on across program runs; end_cycle > start_cycle.
// `epoch` is the index of the program run on this device (0 for the first),
// `phase` the index of the superstep within it, `local_index` the step's position
// among this tile's steps of that run. `operation` is the superstep's operation;
// `kernel` the codelet's kernel for compute, and "exchange", "sync" or "idle"
// for the other kinds.
struct StepRecord {
    StepKind kind;
    std::uint64_t start_cycle;
    std::uint64_t end_cycle;
    std::string operation;
    std::string kernel;
    std::uint32_t local_index;
    std::uint32_t phase;
    std::uint32_t epoch;
    std::vector<StepMetadata> metadata{};
};

// Cycle totals of one tile, by kind of step. For every tile, the four add up to the
// cycles of all program runs so far: each superstep is compute, then idle waiting
// for the slowest tile's compute, sync, exchange, then idle waiting for the
// exchange phase to end.
struct TileCycles {
    std::uint64_t compute = 0;
    std::uint64_t exchange = 0;
    std::uint64_t sync = 0;
    std::uint64_t idle = 0;

    std::uint64_t total() const { return compute + exchange + sync + idle; }

    friend bool operator==(const TileCycles&, const TileCycles&) = default;
};

}  // namespace ipu_sim
