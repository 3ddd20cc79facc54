// The ipu-profile executable on profiles written by the library's writer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ipu_profile/command_line.hpp"
#include "ipu_profile/json_forms.hpp"
#include "ipu_profile/profile_files.hpp"
#include "small_profile.hpp"
#include "support/profile_fixtures.hpp"
#include "tool_process.hpp"

namespace ipu_profile {
namespace {

using testing::read_file;
using testing::run_tool;
using testing::ToolRun;

class ToolCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ::ipu_package::fixtures::write_report_file(testing::small_report(), profile);
    }

    ToolRun run(const std::vector<std::string>& args) { return run_tool(args, dir.path()); }

    testing::TempDir dir;
    std::string profile = dir.file("small.profile");
};

std::size_t line_count(const std::string& text) {
    return static_cast<std::size_t>(std::ranges::count(text, '\n'));
}

TEST_F(ToolCommands, SummaryPrintsTextOrJson) {
    const ToolRun text = run({"summary", profile});
    EXPECT_EQ(text.exit_code, 0) << text.err;
    EXPECT_EQ(text.err, "");
    EXPECT_NE(text.out.find("span              420 cycles (0.42 us), cycle 100 to 520\n"),
              std::string::npos)
        << text.out;

    const ToolRun json = run({"summary", "--json", "--top", "1", profile});
    EXPECT_EQ(json.exit_code, 0) << json.err;
    const Json parsed = Json::parse(json.out);
    EXPECT_EQ(parsed["samples"], 7);
    EXPECT_EQ(parsed["costliest_steps"].size(), 1u);

    const ToolRun to_file = run({"summary", profile, "-o", dir.file("summary.txt")});
    EXPECT_EQ(to_file.exit_code, 0) << to_file.err;
    EXPECT_EQ(read_file(dir.file("summary.txt")), text.out);
}

TEST_F(ToolCommands, TraceCsvAndHtmlWriteTheirFiles) {
    const ToolRun trace = run({"trace", profile, "-o", dir.file("trace.json")});
    EXPECT_EQ(trace.exit_code, 0) << trace.err;
    EXPECT_EQ(trace.out + trace.err, "");
    const Json parsed_trace = Json::parse(read_file(dir.file("trace.json")));
    std::size_t complete_events = 0;
    for (const Json& event : parsed_trace["traceEvents"]) {
        complete_events += event["ph"] == "X" ? 1 : 0;
    }
    EXPECT_EQ(complete_events, 7u);

    const ToolRun csv = run({"csv", profile, "-o", dir.file("samples.csv")});
    EXPECT_EQ(csv.exit_code, 0) << csv.err;
    EXPECT_EQ(line_count(read_file(dir.file("samples.csv"))), 8u);

    const ToolRun html = run({"html", profile, "-o", dir.file("page.html")});
    EXPECT_EQ(html.exit_code, 0) << html.err;
    const std::string page = read_file(dir.file("page.html"));
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
    EXPECT_NE(page.find(R"("title":"small.profile")"), std::string::npos);
}

TEST_F(ToolCommands, UnreadableProfilesShowTheReadersErrorAndExitTwo) {
    const std::string empty = dir.file("empty.profile");
    std::ofstream{empty}.close();
    const std::string missing = dir.file("missing.profile");
    const std::string truncated = dir.file("truncated.profile");
    std::ofstream{truncated, std::ios::binary} << read_file(profile).substr(0, 40);

    for (const std::string& path : {empty, missing, truncated, dir.path().string()}) {
        const auto expected = read_profile_file(path);
        ASSERT_FALSE(expected) << path;
        for (const char* command : {"summary", "html"}) {
            const ToolRun run_result = run({command, path, "-o", dir.file("out")});
            EXPECT_EQ(run_result.exit_code, 2) << path;
            EXPECT_EQ(run_result.err,
                      "ipu-profile: " + path + ": " + expected.error().display() + "\n");
            EXPECT_FALSE(std::filesystem::exists(dir.file("out")));
        }
    }
}

TEST_F(ToolCommands, BadCommandLinesPrintTheUsageAndExitTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"summary"}, {"trace", profile}, {"draw", profile}, {"csv", profile, "--json"}}) {
        const ToolRun result = run(args);
        EXPECT_EQ(result.exit_code, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("ipu-profile: ")) << result.err;
        EXPECT_TRUE(result.err.ends_with("\n" + std::string(usage_line) + "\n")) << result.err;
        EXPECT_EQ(line_count(result.err), 2u);
    }
    const ToolRun escaped = run({"summary", profile, "--\x1b]0;title\x07"});
    EXPECT_EQ(escaped.err.find('\x1b'), std::string::npos);
    EXPECT_NE(escaped.err.find("unknown option '--\\u{1b}]0;title\\u{7}'"), std::string::npos)
        << escaped.err;

    const ToolRun help = run({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.out, std::string(usage_line) + "\n");
}

TEST_F(ToolCommands, OutputsThatCannotBeWrittenAreNamedAndLeaveNothingBehind) {
    const std::string nowhere = dir.file("no/such/dir/trace.json");
    const ToolRun trace = run({"trace", profile, "-o", nowhere});
    EXPECT_EQ(trace.exit_code, 2);
    EXPECT_EQ(trace.err, "ipu-profile: cannot write " + nowhere + ": No such file or directory\n");

    const ToolRun into_directory = run({"csv", profile, "-o", dir.path().string()});
    EXPECT_EQ(into_directory.exit_code, 2);
    EXPECT_NE(into_directory.err.find("cannot write " + dir.path().string()), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));

    const ToolRun full_disk = run({"csv", profile, "-o", "/dev/full"});
    EXPECT_EQ(full_disk.exit_code, 2);
    EXPECT_EQ(full_disk.err, "ipu-profile: cannot write /dev/full: No space left on device\n");
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST_F(ToolCommands, TraceOfAProfileWithoutAClockRateFailsAndLeavesNoFile) {
    ipu_package::ProfileReport report = testing::small_report();
    report.clock_hz = 0;
    ::ipu_package::fixtures::write_report_file(report, profile);
    const ToolRun trace = run({"trace", profile, "-o", dir.file("trace.json")});
    EXPECT_EQ(trace.exit_code, 2);
    EXPECT_EQ(trace.err,
              "ipu-profile: the profile's clock rate is 0 Hz, so its cycles cannot be converted "
              "to microseconds\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("trace.json")));
    EXPECT_EQ(run({"summary", profile}).exit_code, 0);
}

}  // namespace
}  // namespace ipu_profile
