#include "ipu_profile/summary_json.hpp"

#include "ipu_profile/sample_timing.hpp"
#include "ipu_profile/tile_position.hpp"

namespace ipu_profile {
namespace {

Json optional_number(std::optional<double> value) {
    return value ? Json(*value) : Json(nullptr);
}

Json span_json(const ProfileSummary& summary) {
    if (!summary.span) {
        return nullptr;
    }
    return {
        {"first_cycle", summary.span->first_cycle},
        {"last_cycle", summary.span->last_cycle},
        {"cycles", summary.span->cycles()},
        {"microseconds",
         optional_number(cycles_to_microseconds(summary.span->cycles(), summary.clock_hz))},
    };
}

Json kinds_json(const ProfileSummary& summary) {
    Json kinds = Json::array();
    for (const ProfileStepKind kind : all_step_kinds) {
        const std::uint64_t cycles = summary.kind_cycles[step_kind_index(kind)];
        kinds.push_back({
            {"kind", step_kind_name(kind)},
            {"cycles", cycles},
            {"share", share_of(cycles, summary.total_cycles())},
        });
    }
    return kinds;
}

Json tiles_json(const std::vector<const TileTotals*>& tiles) {
    Json list = Json::array();
    for (const TileTotals* tile : tiles) {
        const TilePosition position = tile_position(tile->physical_tile);
        list.push_back({
            {"physical_tile", tile->physical_tile},
            {"row", position.row},
            {"column", position.column},
            {"samples", tile->samples},
            {"busy_cycles", tile->busy_cycles()},
            {"idle_cycles", tile->cycles[step_kind_index(ProfileStepKind::Idle)]},
            {"total_cycles", tile->total_cycles()},
        });
    }
    return list;
}

Json steps_json(const ProfileSummary& summary, std::size_t top) {
    Json list = costliest_steps_json(summary, top, StepKindForm::name);
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i]["share"] = share_of(summary.steps[i].total_cycles(), summary.total_cycles());
    }
    return list;
}

}  // namespace

Json summary_json(const ProfileSummary& summary, std::size_t top) {
    return {
        {"clock_hz", summary.clock_hz},
        {"tiles", summary.tiles.size()},
        {"tile_entries", summary.tile_entries},
        {"samples", summary.samples},
        {"reversed_samples", summary.reversed_samples},
        {"span", span_json(summary)},
        {"total_cycles", summary.total_cycles()},
        {"kinds", kinds_json(summary)},
        {"busiest_tiles", tiles_json(summary.busiest_tiles(top))},
        {"idlest_tiles", tiles_json(summary.idlest_tiles(top))},
        {"costliest_steps", steps_json(summary, top)},
    };
}

Json costliest_steps_json(const ProfileSummary& summary, std::size_t count, StepKindForm form) {
    Json list = Json::array();
    for (std::size_t i = 0; i < summary.steps.size() && i < count; ++i) {
        const StepTotals& step = summary.steps[i];
        Json kinds = Json::array();
        for (const ProfileStepKind kind : step.kinds()) {
            if (form == StepKindForm::name) {
                kinds.push_back(step_kind_name(kind));
            } else {
                kinds.push_back(step_kind_index(kind));
            }
        }
        list.push_back({
            {"operation", step.operation},
            {"kernel", step.kernel},
            {"kinds", std::move(kinds)},
            {"samples", step.samples},
            {"cycles", step.total_cycles()},
        });
    }
    return list;
}

}  // namespace ipu_profile
