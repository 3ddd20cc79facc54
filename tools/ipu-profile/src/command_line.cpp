#include "ipu_profile/command_line.hpp"

#include <charconv>
#include <initializer_list>

namespace ipu_profile {
namespace {

struct SubcommandName {
    std::string_view name;
    Subcommand subcommand;
};

constexpr SubcommandName subcommand_names[] = {
    {"summary", Subcommand::Summary}, {"trace", Subcommand::Trace}, {"csv", Subcommand::Csv},
    {"html", Subcommand::Html},       {"help", Subcommand::Help},   {"--help", Subcommand::Help},
    {"-h", Subcommand::Help},
};

std::optional<Subcommand> find_subcommand(std::string_view name) {
    for (const SubcommandName& entry : subcommand_names) {
        if (entry.name == name) {
            return entry.subcommand;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> positive_number(std::string_view text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value == 0) {
        return std::nullopt;
    }
    return value;
}

// Joins texts; unlike a chain of operator+ on temporaries, this stays clear of a
// false -Wrestrict alarm of g++ 12 at high optimisation.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

std::string quoted(std::string_view text) {
    return joined({"'", text, "'"});
}

}  // namespace

std::expected<CommandLine, std::string> parse_command_line(std::span<const std::string_view> args) {
    if (args.empty()) {
        return std::unexpected("no command given");
    }
    CommandLine command;
    const std::optional<Subcommand> subcommand = find_subcommand(args[0]);
    if (!subcommand) {
        return std::unexpected(joined({"unknown command ", quoted(args[0])}));
    }
    command.subcommand = *subcommand;
    if (command.subcommand == Subcommand::Help) {
        return command;
    }
    const bool summary = command.subcommand == Subcommand::Summary;
    bool has_input = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == "-o" || arg == "--output") {
            if (!has_value) {
                return std::unexpected(joined({quoted(arg), " needs a path"}));
            }
            command.output = std::string(args[++i]);
        } else if (summary && arg == "--json") {
            command.json = true;
        } else if (summary && arg == "--top") {
            const std::optional<std::size_t> top =
                has_value ? positive_number(args[++i]) : std::nullopt;
            if (!top) {
                return std::unexpected("'--top' needs a whole number above 0");
            }
            command.top = *top;
        } else if (arg.starts_with('-') && arg != "-") {
            return std::unexpected(
                joined({"unknown option ", quoted(arg), " for ", quoted(args[0])}));
        } else if (has_input) {
            return std::unexpected("more than one profile file given");
        } else {
            command.input = std::string(arg);
            has_input = true;
        }
    }
    if (!has_input) {
        return std::unexpected("no profile file given");
    }
    if (!summary && !command.output) {
        return std::unexpected(joined({quoted(args[0]), " needs an output file: -o OUT"}));
    }
    return command;
}

}  // namespace ipu_profile
