#pragma once

#include <expected>
#include <ipu_package/profile_report.hpp>
#include <ostream>
#include <string_view>

namespace ipu_profile {

enum class TraceError {
    // The profile's clock rate is 0, so its cycles have no time to put on a timeline.
    UnknownClockRate,
};

// One sentence for people.
std::string_view describe(TraceError error);

// Writes `report` to `out` in the Chrome trace-event JSON format (read by the
// Perfetto UI and chrome://tracing): one process for the device, one thread per
// physical tile named with its number, row and column, and one complete event per
// sample with its kind as category, its step's fields and metadata as arguments,
// and its cycles converted to microseconds through the clock rate. Events stream
// out one by one, so the trace never has to fit in memory. Whether `out` took the
// text is for the caller to check.
std::expected<void, TraceError> write_chrome_trace(const ipu_package::ProfileReport& report,
                                                   std::ostream& out);

}  // namespace ipu_profile
