#include "ipu_profile/profile_summary.hpp"

#include <algorithm>
#include <functional>
#include <numeric>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "ipu_profile/sample_timing.hpp"

namespace ipu_profile {
namespace {

using ipu_package::CycleSample;
using ipu_package::ProfileReport;

std::uint64_t sum(const KindCycles& cycles) {
    return std::accumulate(cycles.begin(), cycles.end(), std::uint64_t{0});
}

// A step's name as views into the report, so that counting allocates nothing per sample.
struct StepName {
    std::string_view operation;
    std::string_view kernel;

    friend bool operator==(const StepName&, const StepName&) = default;
};

struct StepNameHash {
    std::size_t operator()(const StepName& name) const {
        const std::size_t operation = std::hash<std::string_view>{}(name.operation);
        const std::size_t kernel = std::hash<std::string_view>{}(name.kernel);
        return operation ^ (kernel + 0x9e3779b97f4a7c15u + (operation << 6) + (operation >> 2));
    }
};

class SummaryBuilder {
  public:
    explicit SummaryBuilder(const ProfileReport& report) {
        summary_.clock_hz = report.clock_hz;
        summary_.tile_entries = report.tiles.size();
    }

    void add_tile(std::uint32_t physical_tile, const std::vector<CycleSample>& samples) {
        TileTotals& tile = tile_totals(physical_tile);
        for (const CycleSample& sample : samples) {
            add_sample(tile, sample);
        }
    }

    ProfileSummary finish() && {
        std::ranges::sort(summary_.tiles, {}, &TileTotals::physical_tile);
        std::ranges::sort(summary_.steps, [](const StepTotals& left, const StepTotals& right) {
            const std::uint64_t left_cycles = left.total_cycles();
            const std::uint64_t right_cycles = right.total_cycles();
            if (left_cycles != right_cycles) {
                return left_cycles > right_cycles;
            }
            return std::tie(left.operation, left.kernel) < std::tie(right.operation, right.kernel);
        });
        return std::move(summary_);
    }

  private:
    TileTotals& tile_totals(std::uint32_t physical_tile) {
        const auto [entry, added] = tile_index_.try_emplace(physical_tile, summary_.tiles.size());
        if (added) {
            summary_.tiles.push_back(TileTotals{.physical_tile = physical_tile});
        }
        return summary_.tiles[entry->second];
    }

    StepTotals& step_totals(const ipu_package::ProfileStep& step) {
        const StepName name{step.operation, step.kernel};
        const auto [entry, added] = step_index_.try_emplace(name, summary_.steps.size());
        if (added) {
            summary_.steps.push_back(
                StepTotals{.operation = step.operation, .kernel = step.kernel});
        }
        return summary_.steps[entry->second];
    }

    void add_sample(TileTotals& tile, const CycleSample& sample) {
        const std::size_t kind = step_kind_index(sample.step.kind);
        const std::uint32_t cycles = sample_cycles(sample);

        ++summary_.samples;
        summary_.kind_cycles[kind] += cycles;
        if (is_reversed(sample)) {
            ++summary_.reversed_samples;
        }
        extend_span(sample);

        ++tile.samples;
        tile.cycles[kind] += cycles;

        StepTotals& step = step_totals(sample.step);
        ++step.samples;
        step.cycles[kind] += cycles;
        step.has_kind[kind] = true;
    }

    void extend_span(const CycleSample& sample) {
        const std::uint32_t last = std::max(sample.start_cycle, sample.end_cycle);
        if (!summary_.span) {
            summary_.span = CycleSpan{sample.start_cycle, last};
            return;
        }
        summary_.span->first_cycle = std::min(summary_.span->first_cycle, sample.start_cycle);
        summary_.span->last_cycle = std::max(summary_.span->last_cycle, last);
    }

    ProfileSummary summary_;
    std::unordered_map<std::uint32_t, std::size_t> tile_index_;
    std::unordered_map<StepName, std::size_t, StepNameHash> step_index_;
};

template <typename Before>
std::vector<const TileTotals*> ranked_tiles(const std::vector<TileTotals>& tiles, std::size_t count,
                                            Before before) {
    std::vector<const TileTotals*> ranked;
    ranked.reserve(tiles.size());
    for (const TileTotals& tile : tiles) {
        ranked.push_back(&tile);
    }
    const std::size_t kept = std::min(count, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept),
                      ranked.end(), before);
    ranked.resize(kept);
    return ranked;
}

}  // namespace

std::uint64_t TileTotals::total_cycles() const {
    return sum(cycles);
}

std::uint64_t TileTotals::busy_cycles() const {
    return total_cycles() - cycles[step_kind_index(ProfileStepKind::Idle)];
}

std::uint64_t StepTotals::total_cycles() const {
    return sum(cycles);
}

std::vector<ProfileStepKind> StepTotals::kinds() const {
    std::vector<ProfileStepKind> present;
    for (const ProfileStepKind kind : all_step_kinds) {
        if (has_kind[step_kind_index(kind)]) {
            present.push_back(kind);
        }
    }
    return present;
}

std::uint64_t ProfileSummary::total_cycles() const {
    return sum(kind_cycles);
}

std::vector<const TileTotals*> ProfileSummary::busiest_tiles(std::size_t count) const {
    return ranked_tiles(tiles, count, [](const TileTotals* left, const TileTotals* right) {
        const std::uint64_t left_busy = left->busy_cycles();
        const std::uint64_t right_busy = right->busy_cycles();
        return left_busy != right_busy ? left_busy > right_busy
                                       : left->physical_tile < right->physical_tile;
    });
}

std::vector<const TileTotals*> ProfileSummary::idlest_tiles(std::size_t count) const {
    return ranked_tiles(tiles, count, [](const TileTotals* left, const TileTotals* right) {
        const std::uint64_t left_busy = left->busy_cycles();
        const std::uint64_t right_busy = right->busy_cycles();
        return left_busy != right_busy ? left_busy < right_busy
                                       : left->physical_tile < right->physical_tile;
    });
}

ProfileSummary summarise(const ProfileReport& report) {
    SummaryBuilder builder(report);
    for (const ipu_package::TileProfile& tile : report.tiles) {
        builder.add_tile(tile.physical_tile, tile.samples);
    }
    return std::move(builder).finish();
}

double share_of(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace ipu_profile
