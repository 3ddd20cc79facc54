#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ipu_profile {

inline constexpr std::string_view usage_line =
    "usage: ipu-profile summary FILE [--json] [--top N] [-o OUT] | trace FILE -o OUT.json | "
    "csv FILE -o OUT.csv | html FILE -o OUT.html";

enum class Subcommand { Help, Summary, Trace, Csv, Html };

struct CommandLine {
    Subcommand subcommand = Subcommand::Help;
    std::string input;
    // Where the output goes; standard output when absent (summary only).
    std::optional<std::string> output;
    // Summary only: JSON instead of aligned text, and how many tiles and steps to list.
    bool json = false;
    std::size_t top = 10;
};

// Parses the arguments after the program's name. Fails with one sentence saying
// what is wrong; the caller adds the usage line.
std::expected<CommandLine, std::string> parse_command_line(std::span<const std::string_view> args);

}  // namespace ipu_profile
