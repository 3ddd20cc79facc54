#include "ipu_runner/settings.hpp"

#include <cstdlib>

#include "ipu_runner/parsers.hpp"
#include "ipu_text/debug_text.hpp"

namespace ipu_runner {
namespace {

constexpr std::size_t shown_value_bytes = 160;

template <typename Parse>
auto read_and_parse(const std::string& name, Parse parse)
    -> Setting<std::optional<typename decltype(parse(std::string_view{}))::value_type>> {
    const std::optional<std::string> value = read_variable(name);
    if (!value) {
        return std::nullopt;
    }
    auto parsed = parse(*value);
    if (!parsed) {
        return std::unexpected(SettingError{name, *value, parsed.error()});
    }
    return std::optional{std::move(*parsed)};
}

}  // namespace

std::string SettingError::line() const {
    std::string shown = value;
    std::string note;
    if (shown.size() > shown_value_bytes) {
        shown.resize(shown_value_bytes);
        note = " (first " + std::to_string(shown_value_bytes) + " of " +
               std::to_string(value.size()) + " bytes)";
    }
    return variable + "=" + ipu_text::debug_quoted(shown) + note + ": " + problem;
}

std::optional<std::string> read_variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

Setting<std::optional<std::uint64_t>> decimal_setting(const std::string& name, std::uint64_t max) {
    return read_and_parse(name, [max](std::string_view text) { return parse_decimal(text, max); });
}

Setting<std::optional<std::uint64_t>> number_setting(const std::string& name, std::uint64_t max) {
    return read_and_parse(name, [max](std::string_view text) { return parse_number(text, max); });
}

Setting<std::optional<std::uint16_t>> tile_setting(const std::string& name) {
    return read_and_parse(name, parse_tile);
}

Setting<std::optional<std::vector<std::uint16_t>>> tile_list_setting(const std::string& name) {
    return read_and_parse(name, parse_tile_list);
}

Setting<std::optional<std::size_t>> choice_setting(const std::string& name,
                                                   std::span<const std::string_view> choices,
                                                   std::string_view what) {
    return read_and_parse(
        name, [choices, what](std::string_view text) { return parse_choice(text, choices, what); });
}

Setting<bool> switch_setting(const std::string& name) {
    const auto on = read_and_parse(name, parse_switch);
    if (!on) {
        return std::unexpected(on.error());
    }
    return on->value_or(false);
}

SettingError setting_conflict(const std::string& name, std::string problem) {
    return SettingError{name, read_variable(name).value_or(""), std::move(problem)};
}

}  // namespace ipu_runner
