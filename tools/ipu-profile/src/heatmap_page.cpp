#include "ipu_profile/heatmap_page.hpp"

#include <functional>
#include <unordered_map>
#include <vector>

#include "heatmap_page_template.hpp"
#include "ipu_profile/profile_summary.hpp"
#include "ipu_profile/step_kinds.hpp"
#include "ipu_profile/summary_json.hpp"
#include "ipu_profile/tile_position.hpp"

namespace ipu_profile {
namespace {

using ipu_package::ProfileReport;
using ipu_package::ProfileStep;

constexpr std::string_view data_marker = "@PROFILE_DATA@";

void mix(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15u + (seed << 6) + (seed >> 2);
}

struct StepContentHash {
    std::size_t operator()(const ProfileStep* step) const {
        const std::hash<std::string_view> text;
        std::size_t seed = step_kind_index(step->kind);
        mix(seed, step->local_index);
        mix(seed, step->phase);
        mix(seed, step->epoch);
        mix(seed, text(step->operation));
        mix(seed, text(step->kernel));
        for (const ipu_package::ProfileMetadata& entry : step->metadata) {
            mix(seed, text(entry.name));
            mix(seed, text(entry.value));
        }
        return seed;
    }
};

struct StepContentEqual {
    bool operator()(const ProfileStep* left, const ProfileStep* right) const {
        return *left == *right;
    }
};

// Gives every distinct step one number, so that the timelines, where steps repeat
// across tiles, refer to a step instead of repeating it.
class StepTable {
  public:
    std::size_t number_of(const ProfileStep& step) {
        const auto [entry, added] = numbers_.try_emplace(&step, steps_.size());
        if (added) {
            steps_.push_back(&step);
        }
        return entry->second;
    }

    Json json() const {
        Json list = Json::array();
        for (const ProfileStep* step : steps_) {
            Json metadata = Json::array();
            for (const ipu_package::ProfileMetadata& entry : step->metadata) {
                metadata.push_back({entry.name, entry.value});
            }
            list.push_back({step->operation, step->kernel, step_kind_index(step->kind),
                            step->local_index, step->phase, step->epoch, std::move(metadata)});
        }
        return list;
    }

  private:
    std::vector<const ProfileStep*> steps_;
    std::unordered_map<const ProfileStep*, std::size_t, StepContentHash, StepContentEqual> numbers_;
};

// Each summarised tile with its samples as a flat list of start cycle, end cycle and
// step number, in the report's order.
Json tiles_json(const ProfileReport& report, const ProfileSummary& summary, StepTable& steps) {
    std::unordered_map<std::uint32_t, std::size_t> index_of;
    for (std::size_t i = 0; i < summary.tiles.size(); ++i) {
        index_of.emplace(summary.tiles[i].physical_tile, i);
    }
    std::vector<std::vector<std::uint64_t>> timelines(summary.tiles.size());
    for (const ipu_package::TileProfile& tile : report.tiles) {
        std::vector<std::uint64_t>& timeline = timelines[index_of.at(tile.physical_tile)];
        for (const ipu_package::CycleSample& sample : tile.samples) {
            timeline.insert(timeline.end(),
                            {sample.start_cycle, sample.end_cycle, steps.number_of(sample.step)});
        }
    }
    Json tiles = Json::array();
    for (std::size_t i = 0; i < summary.tiles.size(); ++i) {
        const TileTotals& totals = summary.tiles[i];
        const TilePosition position = tile_position(totals.physical_tile);
        const std::optional<std::uint16_t> logical = c600_logical_tile(totals.physical_tile);
        tiles.push_back({
            {"physical", totals.physical_tile},
            {"row", position.row},
            {"column", position.column},
            {"logical", logical ? Json(*logical) : Json(nullptr)},
            {"samples", totals.samples},
            {"cycles", totals.cycles},
            {"timeline", std::move(timelines[i])},
        });
    }
    return tiles;
}

Json page_data(const ProfileReport& report, const ProfileSummary& summary, std::string_view title,
               std::size_t costliest) {
    Json kinds = Json::array();
    for (const ProfileStepKind kind : all_step_kinds) {
        kinds.push_back(step_kind_name(kind));
    }
    StepTable steps;
    Json tiles = tiles_json(report, summary, steps);
    return {
        {"title", title},
        {"clock_hz", summary.clock_hz},
        {"samples", summary.samples},
        {"reversed_samples", summary.reversed_samples},
        {"span", summary.span ? Json{{"first_cycle", summary.span->first_cycle},
                                     {"last_cycle", summary.span->last_cycle}}
                              : Json(nullptr)},
        {"kinds", std::move(kinds)},
        {"kind_cycles", summary.kind_cycles},
        {"tiles", std::move(tiles)},
        {"steps", steps.json()},
        {"costliest", costliest_steps_json(summary, costliest, StepKindForm::index)},
    };
}

}  // namespace

std::string script_safe_json(const Json& json) {
    const std::string text = json_text(json);
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '<':
                safe += "\\u003c";
                break;
            case '>':
                safe += "\\u003e";
                break;
            case '&':
                safe += "\\u0026";
                break;
            default:
                safe += c;
        }
    }
    return safe;
}

void write_heatmap_page(const ProfileReport& report, std::string_view title, std::ostream& out,
                        std::size_t costliest) {
    const std::size_t marker = heatmap_page_template.find(data_marker);
    out << heatmap_page_template.substr(0, marker)
        << script_safe_json(page_data(report, summarise(report), title, costliest))
        << heatmap_page_template.substr(marker + data_marker.size());
}

}  // namespace ipu_profile
