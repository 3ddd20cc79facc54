#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "ipu_sim/step_record.hpp"

namespace ipu_sim {

// The device's cycle counter and, per tile, every recorded step and the totals by
// kind. Runs are numbered (the epoch); steps are numbered per tile within a run.
class CycleLedger {
  public:
    // Keeps step records only when `keep_steps`; totals are always kept.
    explicit CycleLedger(bool keep_steps);

    std::uint64_t cycle() const { return cycle_; }
    void advance_to(std::uint64_t cycle) { cycle_ = cycle; }

    std::uint32_t epoch() const { return epoch_; }

    // Starts numbering the steps of a new run.
    void begin_run();
    // Ends the current run; the next one has the next epoch.
    void end_run() { ++epoch_; }

    // Adds the step's length to the tile's total for `kind` and records the step.
    // A step of no length is neither counted nor recorded.
    void record(std::uint16_t tile, StepKind kind, std::uint64_t start, std::uint64_t end,
                std::string_view operation, std::string_view kernel, std::uint32_t phase,
                std::vector<StepMetadata> metadata = {});

    TileCycles totals(std::uint16_t tile) const;
    std::span<const StepRecord> steps(std::uint16_t tile) const;

  private:
    bool keep_steps_;
    std::uint64_t cycle_ = 0;
    std::uint32_t epoch_ = 0;
    std::vector<std::uint32_t> next_local_index_;
    std::vector<TileCycles> totals_;
    std::vector<std::vector<StepRecord>> steps_;
};

}  // namespace ipu_sim
