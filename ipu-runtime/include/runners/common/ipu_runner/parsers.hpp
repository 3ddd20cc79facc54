#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ipu_runner {

// Strict parsers for the texts that runners receive in their settings. Each
// returns the value, or a short phrase saying why the text was refused (for
// example "not an unsigned decimal number"). None of them trims blanks, accepts
// a sign, or stops early at a character it does not understand.

// Unsigned decimal digits without a leading zero ("0" itself is fine), at most `max`.
std::expected<std::uint64_t, std::string> parse_decimal(std::string_view text, std::uint64_t max);

// Hexadecimal with a lower-case "0x" prefix (digits of either case), or decimal
// as parse_decimal; at most `max`.
std::expected<std::uint64_t, std::string> parse_number(std::string_view text, std::uint64_t max);

// The switch "1" (on) or "0" (off); nothing else.
std::expected<bool, std::string> parse_switch(std::string_view text);

// One of `choices`, spelt exactly; returns its index. Any other text, the empty
// one included, is refused with "not a <what>; the <what>s are <choices>", the
// choices in order and separated by ", ".
std::expected<std::size_t, std::string> parse_choice(std::string_view text,
                                                     std::span<const std::string_view> choices,
                                                     std::string_view what);

// A logical C600 tile number: decimal, 0 to 1471.
std::expected<std::uint16_t, std::string> parse_tile(std::string_view text);

// Logical tile numbers separated by single commas ("1471,274"), at least one,
// each appearing once; the order of the text is kept.
std::expected<std::vector<std::uint16_t>, std::string> parse_tile_list(std::string_view text);

}  // namespace ipu_runner
