#include "runner_time_limit.hpp"

#include <cstdint>
#include <cstdlib>

#include "ipu_text/debug_text.hpp"

namespace hardware_suite {
namespace {

// Set once by configure_runner_time_limit() before the harness starts any case,
// and only read afterwards.
RunnerTimeLimit configured_limit;

constexpr std::size_t max_whole_second_digits = 9;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool all_digits(std::string_view text) {
    for (const char c : text) {
        if (!is_digit(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::expected<RunnerTimeLimit, std::string> parse_runner_time_limit(
    std::optional<std::string_view> value) {
    if (!value || value->empty()) {
        return RunnerTimeLimit{};
    }
    const std::string_view text = *value;
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const bool well_formed =
        !whole.empty() && all_digits(whole) && (whole.size() == 1 || whole.front() != '0') &&
        whole.size() <= max_whole_second_digits &&
        (point == std::string_view::npos || (!fraction.empty() && all_digits(fraction)));
    std::int64_t milliseconds = 0;
    if (well_formed) {
        for (const char c : whole) {
            milliseconds = milliseconds * 10 + (c - '0');
        }
        milliseconds *= 1000;
        std::int64_t scale = 100;
        for (std::size_t index = 0; index < fraction.size(); ++index) {
            const int digit = fraction[index] - '0';
            if (index < 3) {
                milliseconds += digit * scale;
                scale /= 10;
            } else if (digit != 0) {
                milliseconds += 1;  // rounded up to the next whole millisecond
                break;
            }
        }
    }
    if (milliseconds <= 0) {
        return std::unexpected(std::string(runner_time_limit_variable) +
                               " must be a positive decimal number of seconds, got " +
                               ipu_text::debug_quoted(text));
    }
    return RunnerTimeLimit(std::chrono::milliseconds(milliseconds));
}

std::string seconds_text(std::chrono::milliseconds limit) {
    std::string text = std::to_string(limit.count() / 1000);
    std::string fraction = std::to_string(1000 + limit.count() % 1000).substr(1);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    return fraction.empty() ? text : text + "." + fraction;
}

std::expected<void, std::string> configure_runner_time_limit() {
    const char* raw = std::getenv(std::string(runner_time_limit_variable).c_str());
    const auto limit = parse_runner_time_limit(
        raw == nullptr ? std::nullopt : std::optional<std::string_view>(raw));
    if (!limit) {
        return std::unexpected(limit.error());
    }
    configured_limit = *limit;
    return {};
}

RunnerTimeLimit runner_time_limit() {
    return configured_limit;
}

}  // namespace hardware_suite
