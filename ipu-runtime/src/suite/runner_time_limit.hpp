#pragma once

#include <chrono>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

namespace hardware_suite {

// The suite's own variable that bounds each runner's running time.
inline constexpr std::string_view runner_time_limit_variable = "IPU_TEST_RUNNER_TIMEOUT_SECONDS";

// The bound on one runner's running time, or nullopt for none.
using RunnerTimeLimit = std::optional<std::chrono::milliseconds>;

// The time limit that `value` (the variable's raw bytes, nullopt when unset)
// asks for. Unset or empty: no limit. A positive decimal number of seconds
// ("30", "2.5"; no sign, no leading zeros, at most 999999999 whole seconds) is
// the limit, rounded up to whole milliseconds. Anything else is refused with one
// line naming the variable and the value.
std::expected<RunnerTimeLimit, std::string> parse_runner_time_limit(
    std::optional<std::string_view> value);

// A limit in seconds as a decimal number without trailing zeros: "30", "2.5".
std::string seconds_text(std::chrono::milliseconds limit);

// Reads the variable from the suite's environment and keeps the limit for every
// later launch; the refusal line when its value is not accepted. Called once,
// before any case runs.
std::expected<void, std::string> configure_runner_time_limit();

// The limit that configure_runner_time_limit() kept (none before it is called).
RunnerTimeLimit runner_time_limit();

}  // namespace hardware_suite
