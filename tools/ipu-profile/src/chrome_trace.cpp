#include "ipu_profile/chrome_trace.hpp"

#include <string>
#include <unordered_set>

#include "ipu_profile/json_forms.hpp"
#include "ipu_profile/sample_timing.hpp"
#include "ipu_profile/step_kinds.hpp"
#include "ipu_profile/tile_position.hpp"

namespace ipu_profile {
namespace {

using ipu_package::CycleSample;

constexpr int device_pid = 1;

double microseconds(std::uint64_t cycles, std::uint64_t clock_hz) {
    return cycles_to_microseconds(cycles, clock_hz).value_or(0.0);
}

std::string thread_name(std::uint32_t physical_tile) {
    const TilePosition position = tile_position(physical_tile);
    return "tile " + std::to_string(physical_tile) + " (row " + std::to_string(position.row) +
           ", column " + std::to_string(position.column) + ")";
}

Json metadata_event(std::string_view name, std::uint32_t tid, Json args) {
    return {
        {"name", name}, {"ph", "M"}, {"pid", device_pid}, {"tid", tid}, {"args", std::move(args)}};
}

Json sample_event(std::uint32_t physical_tile, const CycleSample& sample, std::uint64_t clock_hz) {
    const std::string_view kind = step_kind_name(sample.step.kind);
    return {
        {"name", sample.step.operation.empty() ? std::string(kind) : sample.step.operation},
        {"cat", kind},
        {"ph", "X"},
        {"pid", device_pid},
        {"tid", physical_tile},
        {"ts", microseconds(sample.start_cycle, clock_hz)},
        {"dur", microseconds(sample_cycles(sample), clock_hz)},
        {"args",
         {
             {"operation", sample.step.operation},
             {"kernel", sample.step.kernel},
             {"kind", kind},
             {"local_index", sample.step.local_index},
             {"phase", sample.step.phase},
             {"epoch", sample.step.epoch},
             {"start_cycle", sample.start_cycle},
             {"end_cycle", sample.end_cycle},
             {"cycles", sample_cycles(sample)},
             {"metadata", metadata_json(sample.step.metadata)},
         }},
    };
}

// Writes the events of the "traceEvents" array, separated by commas.
class EventList {
  public:
    explicit EventList(std::ostream& out) : out_(out) {}

    void add(const Json& event) {
        out_ << (first_ ? "\n" : ",\n") << json_text(event);
        first_ = false;
    }

  private:
    std::ostream& out_;
    bool first_ = true;
};

}  // namespace

std::string_view describe(TraceError error) {
    switch (error) {
        case TraceError::UnknownClockRate:
            return "the profile's clock rate is 0 Hz, so its cycles cannot be converted to "
                   "microseconds";
    }
    return "unknown trace error";
}

std::expected<void, TraceError> write_chrome_trace(const ipu_package::ProfileReport& report,
                                                   std::ostream& out) {
    if (report.clock_hz == 0) {
        return std::unexpected(TraceError::UnknownClockRate);
    }
    const Json other_data = {{"clock_hz", report.clock_hz}};
    out << "{\"displayTimeUnit\":\"ns\",\"otherData\":" << json_text(other_data)
        << ",\"traceEvents\":[";
    EventList events(out);
    events.add(metadata_event("process_name", 0, {{"name", "IPU"}}));
    std::unordered_set<std::uint32_t> named_tiles;
    for (const ipu_package::TileProfile& tile : report.tiles) {
        if (named_tiles.insert(tile.physical_tile).second) {
            events.add(metadata_event("thread_name", tile.physical_tile,
                                      {{"name", thread_name(tile.physical_tile)}}));
            events.add(metadata_event("thread_sort_index", tile.physical_tile,
                                      {{"sort_index", tile.physical_tile}}));
        }
        for (const CycleSample& sample : tile.samples) {
            events.add(sample_event(tile.physical_tile, sample, report.clock_hz));
        }
    }
    out << "\n]}\n";
    return {};
}

}  // namespace ipu_profile
