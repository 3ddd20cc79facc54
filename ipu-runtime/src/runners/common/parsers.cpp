#include "ipu_runner/parsers.hpp"

#include <algorithm>

#include "ipu_exchange/topology.hpp"

namespace ipu_runner {
namespace {

constexpr std::uint16_t last_tile = ipu_exchange::c600_tile_count - 1;

std::string above(std::uint64_t max) {
    return "above the largest allowed value " + std::to_string(max);
}

std::expected<std::uint64_t, std::string> accumulate_digits(std::string_view digits,
                                                            std::uint64_t base, std::uint64_t max) {
    std::uint64_t value = 0;
    for (const char c : digits) {
        std::uint64_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint64_t>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint64_t>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint64_t>(c - 'A' + 10);
        } else {
            return std::unexpected(base == 16 ? "not a hexadecimal number after 0x"
                                              : "not an unsigned decimal number");
        }
        if (value > (max - digit) / base) {
            return std::unexpected(above(max));
        }
        value = value * base + digit;
    }
    return value;
}

}  // namespace

std::expected<std::uint64_t, std::string> parse_decimal(std::string_view text, std::uint64_t max) {
    if (text.empty()) {
        return std::unexpected("empty");
    }
    auto value = accumulate_digits(text, 10, max);
    if (value && text.size() > 1 && text.front() == '0') {
        return std::unexpected("written with a leading zero");
    }
    return value;
}

std::expected<std::uint64_t, std::string> parse_number(std::string_view text, std::uint64_t max) {
    if (text.starts_with("0X")) {
        return std::unexpected("upper-case 0X prefix; write 0x");
    }
    if (!text.starts_with("0x")) {
        return parse_decimal(text, max);
    }
    const std::string_view digits = text.substr(2);
    if (digits.empty()) {
        return std::unexpected("no digits after 0x");
    }
    return accumulate_digits(digits, 16, max);
}

std::expected<bool, std::string> parse_switch(std::string_view text) {
    if (text == "1") {
        return true;
    }
    if (text == "0") {
        return false;
    }
    return std::unexpected("not a switch (1 or 0)");
}

std::expected<std::size_t, std::string> parse_choice(std::string_view text,
                                                     std::span<const std::string_view> choices,
                                                     std::string_view what) {
    const auto chosen = std::ranges::find(choices, text);
    if (chosen != choices.end()) {
        return static_cast<std::size_t>(chosen - choices.begin());
    }
    std::string problem = "not a " + std::string(what) + "; the " + std::string(what) + "s are ";
    for (std::size_t i = 0; i < choices.size(); ++i) {
        problem += (i == 0 ? "" : ", ") + std::string(choices[i]);
    }
    return std::unexpected(problem);
}

std::expected<std::uint16_t, std::string> parse_tile(std::string_view text) {
    const auto tile = parse_decimal(text, last_tile);
    if (!tile) {
        return std::unexpected(tile.error());
    }
    return static_cast<std::uint16_t>(*tile);
}

std::expected<std::vector<std::uint16_t>, std::string> parse_tile_list(std::string_view text) {
    if (text.empty()) {
        return std::unexpected("empty");
    }
    std::vector<std::uint16_t> tiles;
    std::vector<bool> seen(ipu_exchange::c600_tile_count, false);
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view entry = text.substr(start, comma - start);
        const std::string position = "entry " + std::to_string(tiles.size() + 1);
        if (entry.empty()) {
            return std::unexpected(position + " is empty");
        }
        const auto tile = parse_tile(entry);
        if (!tile) {
            return std::unexpected(position + " is " + tile.error());
        }
        if (seen[*tile]) {
            return std::unexpected("tile " + std::to_string(*tile) + " appears twice");
        }
        seen[*tile] = true;
        tiles.push_back(*tile);
        if (comma == text.size()) {
            return tiles;
        }
        start = comma + 1;
    }
}

}  // namespace ipu_runner
