#include <gtest/gtest.h>

#include "ipu_profile/summary_json.hpp"
#include "ipu_profile/summary_text.hpp"
#include "ipu_profile/terminal_text.hpp"
#include "ipu_profile/text_table.hpp"
#include "small_profile.hpp"

namespace ipu_profile {
namespace {

TEST(TerminalText, EscapesEveryControlCharacterAndKeepsTheRest) {
    const struct {
        std::string text;
        std::string safe;
    } cases[] = {
        {"gemm.block", "gemm.block"},
        {"\x1b[31mred", "\\u{1b}[31mred"},
        {"two\nlines\r", "two\\u{a}lines\\u{d}"},
        {"del\x7f", "del\\u{7f}"},
        {"c1 \xc2\x9b"
         "2J",
         "c1 \\u{9b}2J"},  // U+009B, the one-byte CSI
        {"caf\xc3\xa9 \xc2\xa0", "caf\xc3\xa9 \xc2\xa0"},
        {"cut \xc2", "cut \xc2"},
        {std::string("nul\0", 4), "nul\\u{0}"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(terminal_safe(row.text), row.safe) << row.safe;
    }
    EXPECT_EQ(display_width("caf\xc3\xa9"), 4u);
}

TEST(TextTable, LinesUpColumnsByCodePointsWithoutTrailingBlanks) {
    TextTable table({{"name", Align::Left}, {"cycles", Align::Right}});
    table.add_row({"caf\xc3\xa9", "7"});
    table.add_row({"x", "12345", "ignored"});
    table.add_row({"\x1b"});
    EXPECT_EQ(table.render("  "),
              "  name    cycles\n"
              "  caf\xc3\xa9         7\n"
              "  x        12345\n"
              "  \\u{1b}\n");
}

TEST(SummaryText, ShowsTheProfilesNumbersAligned) {
    const std::string text = summary_text(summarise(testing::small_report()), 10);
    for (const char* line : {
             "clock             1000000000 Hz\n",
             "tiles             3\n",
             "tile entries      4 (some physical numbers repeat; added together)\n",
             "reversed samples  1 (end before start; counted as 0 cycles)\n",
             "span              420 cycles (0.42 us), cycle 100 to 520\n",
             "  compute             420   79.2%\n",
             "  total               530  100.0%\n",
             "    65    1       1        4          380           40       90.5%\n",
             "  matmul     mm16     compute                3     420  79.2%\n",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << "in:\n" << text;
    }
}

TEST(SummaryText, LimitsListsAndCopesWithAnEmptyProfileWithoutAClock) {
    const std::string top_one = summary_text(summarise(testing::small_report()), 1);
    EXPECT_EQ(top_one.find("load"), std::string::npos);
    EXPECT_EQ(top_one.find("\n     2 "), std::string::npos);

    const std::string empty = summary_text(summarise({.clock_hz = 0, .tiles = {}}), 10);
    EXPECT_NE(empty.find("clock    0 Hz (unknown: cycles cannot be timed)\n"), std::string::npos)
        << empty;
    EXPECT_NE(empty.find("span     none (no samples)\n"), std::string::npos) << empty;
    EXPECT_NE(empty.find("  total                 0   0.0%\n"), std::string::npos) << empty;
}

TEST(SummaryText, EscapesNamesThatWouldDriveTheTerminal) {
    ipu_package::ProfileReport report = testing::small_report();
    report.tiles[0].samples[0].step.operation = "\x1b]0;owned\x07";
    const std::string text = summary_text(summarise(report), 10);
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_NE(text.find("\\u{1b}]0;owned\\u{7}"), std::string::npos);
}

TEST(SummaryJson, CarriesTheSameNumbers) {
    const Json json = summary_json(summarise(testing::small_report()), 2);
    EXPECT_EQ(json["clock_hz"], 1'000'000'000u);
    EXPECT_EQ(json["tiles"], 3);
    EXPECT_EQ(json["tile_entries"], 4);
    EXPECT_EQ(json["samples"], 7);
    EXPECT_EQ(json["reversed_samples"], 1);
    EXPECT_EQ(json["total_cycles"], 530);
    EXPECT_EQ(json["span"]["first_cycle"], 100);
    EXPECT_EQ(json["span"]["cycles"], 420);
    EXPECT_DOUBLE_EQ(json["span"]["microseconds"].get<double>(), 0.42);
    EXPECT_EQ(json["kinds"][1]["kind"], "compute");
    EXPECT_EQ(json["kinds"][1]["cycles"], 420);
    EXPECT_DOUBLE_EQ(json["kinds"][1]["share"].get<double>(), 420.0 / 530.0);
    ASSERT_EQ(json["busiest_tiles"].size(), 2u);
    EXPECT_EQ(json["busiest_tiles"][0]["physical_tile"], 65);
    EXPECT_EQ(json["busiest_tiles"][0]["row"], 1);
    EXPECT_EQ(json["busiest_tiles"][0]["busy_cycles"], 380);
    EXPECT_EQ(json["idlest_tiles"][0]["physical_tile"], 1471);
    ASSERT_EQ(json["costliest_steps"].size(), 2u);
    EXPECT_EQ(json["costliest_steps"][0]["operation"], "matmul");
    EXPECT_EQ(json["costliest_steps"][0]["kinds"], Json::array({"compute"}));
    EXPECT_EQ(json["costliest_steps"][1]["cycles"], 60);
    EXPECT_DOUBLE_EQ(json["costliest_steps"][1]["share"].get<double>(), 60.0 / 530.0);
}

TEST(SummaryJson, HasNullsWhereTheProfileCannotSay) {
    ipu_package::ProfileReport report = testing::small_report();
    report.clock_hz = 0;
    EXPECT_TRUE(summary_json(summarise(report), 10)["span"]["microseconds"].is_null());
    EXPECT_TRUE(summary_json(summarise({.clock_hz = 1, .tiles = {}}), 10)["span"].is_null());
}

}  // namespace
}  // namespace ipu_profile
