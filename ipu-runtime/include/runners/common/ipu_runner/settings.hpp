#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ipu_runner {

// A setting that a runner cannot use: the variable, its value exactly as it was
// found (raw bytes), and why it was refused. A runner reports it with line() and
// exits with status 2.
struct SettingError {
    std::string variable;
    std::string value;
    std::string problem;

    // One line, for example `IPU_HOST_TEST_BYTES="12x": not an unsigned decimal
    // number`. The value is quoted with control characters escaped, so the line
    // never breaks; a very long value is shortened.
    std::string line() const;
};

template <typename T>
using Setting = std::expected<T, SettingError>;

// The raw bytes of environment variable `name`, or nothing when it is not set.
// An empty value is a set value.
std::optional<std::string> read_variable(const std::string& name);

// Readers of one variable each: nothing when it is absent, otherwise the parsed
// value (see parsers.hpp) or a SettingError naming the variable and its value.
Setting<std::optional<std::uint64_t>> decimal_setting(const std::string& name, std::uint64_t max);
Setting<std::optional<std::uint64_t>> number_setting(const std::string& name, std::uint64_t max);
Setting<std::optional<std::uint16_t>> tile_setting(const std::string& name);
Setting<std::optional<std::vector<std::uint16_t>>> tile_list_setting(const std::string& name);
// The index of the choice it names (parse_choice).
Setting<std::optional<std::size_t>> choice_setting(const std::string& name,
                                                   std::span<const std::string_view> choices,
                                                   std::string_view what);

// A switch that is off when absent.
Setting<bool> switch_setting(const std::string& name);

// The SettingError for a variable whose value parsed but does not fit with the
// rest of the settings (for example a size that runs past the end of SRAM).
// The value is read again so that the error shows it as it was given.
SettingError setting_conflict(const std::string& name, std::string problem);

}  // namespace ipu_runner
