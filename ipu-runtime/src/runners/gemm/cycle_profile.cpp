#include "cycle_profile.hpp"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace ipu_gemm {
namespace {

using ipu_package::ProfileStepKind;

ProfileStepKind profile_kind(ipu_sim::StepKind kind) {
    switch (kind) {
        case ipu_sim::StepKind::Exchange:
            return ProfileStepKind::Exchange;
        case ipu_sim::StepKind::Compute:
            return ProfileStepKind::Compute;
        case ipu_sim::StepKind::Synchronization:
            return ProfileStepKind::Synchronization;
        case ipu_sim::StepKind::Idle:
            return ProfileStepKind::Idle;
    }
    std::unreachable();
}

ipu_package::CycleSample sample_of(const ipu_sim::StepRecord& record) {
    ipu_package::ProfileStep step{
        .local_index = record.local_index,
        .phase = record.phase,
        .epoch = record.epoch,
        .operation = record.operation,
        .kind = profile_kind(record.kind),
        .kernel = record.kernel,
        .metadata = {},
    };
    step.metadata.reserve(record.metadata.size());
    for (const auto& entry : record.metadata) {
        step.metadata.push_back({entry.name, entry.value});
    }
    return ipu_package::CycleSample{std::move(step), static_cast<std::uint32_t>(record.start_cycle),
                                    static_cast<std::uint32_t>(record.end_cycle)};
}

}  // namespace

std::expected<ipu_package::ProfileReport, std::string> build_profile(
    std::uint64_t clock_hz, std::span<const TileSteps> tiles, const StepAnnotator& annotate) {
    ipu_package::ProfileReport report{clock_hz, {}};
    report.tiles.reserve(tiles.size());
    for (const TileSteps& tile : tiles) {
        ipu_package::TileProfile profile{tile.physical_tile, {}};
        profile.samples.reserve(tile.steps.size());
        for (const ipu_sim::StepRecord& record : tile.steps) {
            if (record.end_cycle > std::numeric_limits<std::uint32_t>::max()) {
                return std::unexpected("cycle " + std::to_string(record.end_cycle) +
                                       " of physical tile " + std::to_string(tile.physical_tile) +
                                       " does not fit a 32-bit profile cycle");
            }
            profile.samples.push_back(sample_of(record));
            if (annotate) {
                auto& metadata = profile.samples.back().step.metadata;
                std::ranges::move(annotate(tile.physical_tile, record),
                                  std::back_inserter(metadata));
            }
        }
        report.tiles.push_back(std::move(profile));
    }
    return report;
}

std::optional<std::string> apply_profile_fault(ipu_package::ProfileReport& report,
                                               ipu_sim::Fault fault) {
    switch (fault) {
        case ipu_sim::Fault::ProfileMissingTile: {
            if (report.tiles.empty()) {
                return std::nullopt;
            }
            const std::uint32_t left_out = report.tiles.back().physical_tile;
            report.tiles.pop_back();
            return "profile written without physical tile " + std::to_string(left_out);
        }
        case ipu_sim::Fault::ProfileMissingKind:
            for (auto& tile : report.tiles) {
                std::erase_if(tile.samples, [](const ipu_package::CycleSample& sample) {
                    return sample.step.kind == ProfileStepKind::Synchronization;
                });
            }
            return "profile written without synchronization samples";
        case ipu_sim::Fault::ProfileZeroClock:
            report.clock_hz = 0;
            return "profile written with a clock rate of 0 Hz";
        default:
            return std::nullopt;
    }
}

}  // namespace ipu_gemm
