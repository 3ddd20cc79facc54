#include "ipu_sim/device_config.hpp"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

namespace ipu_sim {
namespace {

constexpr std::string_view max_us_variable = "IPU_HOST_WRITE_JITTER_MAX_US";
constexpr std::string_view seed_variable = "IPU_HOST_WRITE_JITTER_SEED";

// The whole of `text` as an unsigned number in `base`, or nullopt.
std::optional<std::uint64_t> parse_unsigned(std::string_view text, int base) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> parse_seed(std::string_view text) {
    if (text.starts_with("0x")) {
        return parse_unsigned(text.substr(2), 16);
    }
    return parse_unsigned(text, 10);
}

std::optional<std::string_view> environment_value(std::string_view variable) {
    const char* value = std::getenv(std::string(variable).c_str());
    return value ? std::optional<std::string_view>(value) : std::nullopt;
}

}  // namespace

std::expected<HostWriteJitter, SettingError> host_write_jitter_from_settings(
    std::optional<std::string_view> max_us, std::optional<std::string_view> seed) {
    HostWriteJitter jitter;
    if (max_us && !max_us->empty()) {
        const std::optional<std::uint64_t> parsed = parse_unsigned(*max_us, 10);
        if (!parsed || *parsed >= std::numeric_limits<std::uint32_t>::max()) {
            return std::unexpected(SettingError{std::string(max_us_variable), std::string(*max_us),
                                                "unsigned decimal microseconds up to 4294967294"});
        }
        jitter.max_us = static_cast<std::uint32_t>(*parsed);
    }
    if (seed && !seed->empty()) {
        const std::optional<std::uint64_t> parsed = parse_seed(*seed);
        if (!parsed) {
            return std::unexpected(
                SettingError{std::string(seed_variable), std::string(*seed),
                             "an unsigned 64-bit number, decimal or 0x-prefixed hexadecimal"});
        }
        jitter.seed = *parsed;
    }
    return jitter;
}

std::expected<DeviceConfig, SettingError> device_config_from_environment() {
    DeviceConfig config;
    auto jitter = host_write_jitter_from_settings(environment_value(max_us_variable),
                                                  environment_value(seed_variable));
    if (!jitter) {
        return std::unexpected(std::move(jitter.error()));
    }
    auto fault = fault_from_environment();
    if (!fault) {
        return std::unexpected(std::move(fault.error()));
    }
    config.jitter = *jitter;
    config.fault = *fault;
    return config;
}

}  // namespace ipu_sim
