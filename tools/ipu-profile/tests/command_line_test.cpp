#include "ipu_profile/command_line.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace ipu_profile {
namespace {

std::expected<CommandLine, std::string> parse(std::vector<std::string_view> args) {
    return parse_command_line(args);
}

TEST(CommandLine, ReadsEachCommandWithItsOptionsInAnyOrder) {
    const auto summary = parse({"summary", "--top", "3", "run.profile", "--json"});
    ASSERT_TRUE(summary) << summary.error();
    EXPECT_EQ(summary->subcommand, Subcommand::Summary);
    EXPECT_EQ(summary->input, "run.profile");
    EXPECT_TRUE(summary->json);
    EXPECT_EQ(summary->top, 3u);
    EXPECT_FALSE(summary->output);

    const auto defaults = parse({"summary", "run.profile"});
    ASSERT_TRUE(defaults);
    EXPECT_FALSE(defaults->json);
    EXPECT_EQ(defaults->top, 10u);

    const struct {
        std::vector<std::string_view> args;
        Subcommand subcommand;
    } outputs[] = {
        {{"trace", "run.profile", "-o", "out.json"}, Subcommand::Trace},
        {{"csv", "-o", "out.json", "run.profile"}, Subcommand::Csv},
        {{"html", "run.profile", "--output", "out.json"}, Subcommand::Html},
        {{"summary", "run.profile", "-o", "out.json"}, Subcommand::Summary},
    };
    for (const auto& row : outputs) {
        const auto command = parse(row.args);
        ASSERT_TRUE(command) << row.args[0] << ": " << command.error();
        EXPECT_EQ(command->subcommand, row.subcommand);
        EXPECT_EQ(command->input, "run.profile");
        EXPECT_EQ(command->output, "out.json");
    }
    for (const std::string_view help : {"help", "--help", "-h"}) {
        EXPECT_EQ(parse({help})->subcommand, Subcommand::Help);
    }
}

TEST(CommandLine, SaysWhatIsWrong) {
    const struct {
        std::vector<std::string_view> args;
        std::string problem;
    } cases[] = {
        {{}, "no command given"},
        {{"plot", "x"}, "unknown command 'plot'"},
        {{"summary"}, "no profile file given"},
        {{"summary", "a", "b"}, "more than one profile file given"},
        {{"summary", "a", "--verbose"}, "unknown option '--verbose' for 'summary'"},
        {{"trace", "a", "--json", "-o", "t"}, "unknown option '--json' for 'trace'"},
        {{"summary", "a", "--top"}, "'--top' needs a whole number above 0"},
        {{"summary", "a", "--top", "0"}, "'--top' needs a whole number above 0"},
        {{"summary", "a", "--top", "5x"}, "'--top' needs a whole number above 0"},
        {{"summary", "a", "--top", "-1"}, "'--top' needs a whole number above 0"},
        {{"trace", "a"}, "'trace' needs an output file: -o OUT"},
        {{"html", "a", "-o"}, "'-o' needs a path"},
    };
    for (const auto& row : cases) {
        const auto command = parse(row.args);
        ASSERT_FALSE(command) << row.problem;
        EXPECT_EQ(command.error(), row.problem);
    }
}

}  // namespace
}  // namespace ipu_profile
