#include "ipu_profile/summary_text.hpp"

#include <vector>

#include "ipu_profile/number_text.hpp"
#include "ipu_profile/sample_timing.hpp"
#include "ipu_profile/text_table.hpp"
#include "ipu_profile/tile_position.hpp"

namespace ipu_profile {
namespace {

std::string facts_section(const ProfileSummary& summary) {
    TextTable facts({{"", Align::Left}, {"", Align::Left}});
    facts.add_row({"clock", summary.clock_hz == 0 ? "0 Hz (unknown: cycles cannot be timed)"
                                                  : std::to_string(summary.clock_hz) + " Hz"});
    facts.add_row({"tiles", std::to_string(summary.tiles.size())});
    if (summary.tile_entries != summary.tiles.size()) {
        facts.add_row({"tile entries", std::to_string(summary.tile_entries) +
                                           " (some physical numbers repeat; added together)"});
    }
    facts.add_row({"samples", std::to_string(summary.samples)});
    if (summary.reversed_samples > 0) {
        facts.add_row({"reversed samples", std::to_string(summary.reversed_samples) +
                                               " (end before start; counted as 0 cycles)"});
    }
    std::string span = "none (no samples)";
    if (summary.span) {
        const std::uint64_t cycles = summary.span->cycles();
        span = std::to_string(cycles) + " cycles";
        if (const auto microseconds = cycles_to_microseconds(cycles, summary.clock_hz)) {
            span += " (" + fixed_point(*microseconds, 2) + " us)";
        }
        span += ", cycle " + std::to_string(summary.span->first_cycle) + " to " +
                std::to_string(summary.span->last_cycle);
    }
    facts.add_row({"span", span});
    return facts.render("");
}

std::string kinds_section(const ProfileSummary& summary) {
    const std::uint64_t total = summary.total_cycles();
    TextTable kinds({{"kind", Align::Left}, {"cycles", Align::Right}, {"share", Align::Right}});
    for (const ProfileStepKind kind : all_step_kinds) {
        const std::uint64_t cycles = summary.kind_cycles[step_kind_index(kind)];
        kinds.add_row({std::string(step_kind_name(kind)), std::to_string(cycles),
                       percentage(share_of(cycles, total))});
    }
    kinds.add_row({"total", std::to_string(total), percentage(total == 0 ? 0.0 : 1.0)});
    return "Cycles per kind\n" + kinds.render("  ");
}

std::string tiles_section(std::string_view title, const std::vector<const TileTotals*>& tiles) {
    TextTable table({{"tile", Align::Right},
                     {"row", Align::Right},
                     {"column", Align::Right},
                     {"samples", Align::Right},
                     {"busy cycles", Align::Right},
                     {"idle cycles", Align::Right},
                     {"busy share", Align::Right}});
    for (const TileTotals* tile : tiles) {
        const TilePosition position = tile_position(tile->physical_tile);
        const std::uint64_t busy = tile->busy_cycles();
        table.add_row({std::to_string(tile->physical_tile), std::to_string(position.row),
                       std::to_string(position.column), std::to_string(tile->samples),
                       std::to_string(busy),
                       std::to_string(tile->cycles[step_kind_index(ProfileStepKind::Idle)]),
                       percentage(share_of(busy, tile->total_cycles()))});
    }
    return std::string(title) + " (busy: every kind but idle)\n" + table.render("  ");
}

std::string kinds_of(const StepTotals& step) {
    std::string kinds;
    for (const ProfileStepKind kind : step.kinds()) {
        kinds += kinds.empty() ? "" : "+";
        kinds += step_kind_name(kind);
    }
    return kinds;
}

std::string steps_section(const ProfileSummary& summary, std::size_t top) {
    const std::uint64_t total = summary.total_cycles();
    TextTable table({{"operation", Align::Left},
                     {"kernel", Align::Left},
                     {"kind", Align::Left},
                     {"samples", Align::Right},
                     {"cycles", Align::Right},
                     {"share", Align::Right}});
    for (std::size_t i = 0; i < summary.steps.size() && i < top; ++i) {
        const StepTotals& step = summary.steps[i];
        table.add_row({step.operation, step.kernel, kinds_of(step), std::to_string(step.samples),
                       std::to_string(step.total_cycles()),
                       percentage(share_of(step.total_cycles(), total))});
    }
    return "Costliest steps (by operation and kernel)\n" + table.render("  ");
}

}  // namespace

std::string summary_text(const ProfileSummary& summary, std::size_t top) {
    return facts_section(summary) + "\n" + kinds_section(summary) + "\n" +
           tiles_section("Busiest tiles", summary.busiest_tiles(top)) + "\n" +
           tiles_section("Idlest tiles", summary.idlest_tiles(top)) + "\n" +
           steps_section(summary, top);
}

}  // namespace ipu_profile
