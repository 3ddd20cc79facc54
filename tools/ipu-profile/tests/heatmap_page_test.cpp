#include "ipu_profile/heatmap_page.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "small_profile.hpp"

namespace ipu_profile {
namespace {

constexpr std::string_view data_open = R"(<script type="application/json" id="profile-data">)";

std::string page_of(const ipu_package::ProfileReport& report, std::string_view title = "small") {
    std::ostringstream out;
    write_heatmap_page(report, title, out, 3);
    return out.str();
}

// The text of the page's data element.
std::string data_text(const std::string& page) {
    const std::size_t open = page.find(data_open);
    EXPECT_NE(open, std::string::npos);
    const std::size_t start = open + data_open.size();
    return page.substr(start, page.find("</script>", start) - start);
}

std::size_t occurrences(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(HeatmapPage, EmbedsTilesTimelinesAndCostliestStepsAsData) {
    const Json data = Json::parse(data_text(page_of(testing::small_report())));
    EXPECT_EQ(data["title"], "small");
    EXPECT_EQ(data["clock_hz"], 1'000'000'000u);
    EXPECT_EQ(data["kinds"], Json::parse(R"(["exchange","compute","synchronization","idle"])"));
    EXPECT_EQ(data["kind_cycles"], Json::parse("[60,420,10,40]"));
    EXPECT_EQ(data["span"], Json::parse(R"({"first_cycle":100,"last_cycle":520})"));

    const Json& tiles = data["tiles"];
    ASSERT_EQ(tiles.size(), 3u);
    const Json& tile_65 = tiles[1];
    EXPECT_EQ(tile_65["physical"], 65);
    EXPECT_EQ(tile_65["row"], 1);
    EXPECT_EQ(tile_65["column"], 1);
    EXPECT_EQ(tile_65["logical"], 88);
    EXPECT_EQ(tile_65["cycles"], Json::parse("[60,320,0,40]"));
    // Start, end and step number of each sample; the repeated entry's sample last.
    const Json& timeline = tile_65["timeline"];
    ASSERT_EQ(timeline.size(), 12u);
    EXPECT_EQ(timeline[3], 160);
    EXPECT_EQ(timeline[4], 460);
    EXPECT_EQ(timeline[9], 500);
    const Json& step = data["steps"][timeline[5].get<std::size_t>()];
    EXPECT_EQ(step, Json::parse(R"(["matmul","mm16",1,160,1,2,[["block","3"],["block","4"]]])"));

    ASSERT_EQ(data["costliest"].size(), 3u);
    EXPECT_EQ(data["costliest"][0]["operation"], "matmul");
    EXPECT_EQ(data["costliest"][0]["cycles"], 420);
    EXPECT_EQ(data["costliest"][0]["kinds"], Json::parse("[1]"));
}

TEST(HeatmapPage, StoresAStepSharedByManySamplesOnce) {
    ipu_package::ProfileReport report{.clock_hz = 1, .tiles = {}};
    ipu_package::CycleSample shared{};
    shared.step.operation = "same";
    shared.end_cycle = 5;
    for (std::uint32_t physical = 0; physical < 4; ++physical) {
        report.tiles.push_back({.physical_tile = physical, .samples = {shared, shared}});
    }
    report.tiles[3].samples[1].step.metadata = {{"differs", "yes"}};
    const Json data = Json::parse(data_text(page_of(report)));
    EXPECT_EQ(data["steps"].size(), 2u);
    EXPECT_EQ(data["tiles"][3]["timeline"], Json::parse("[0,5,0,0,5,1]"));
}

TEST(HeatmapPage, HostileNamesStayDataInsideTheScriptElement) {
    ipu_package::ProfileReport report = testing::small_report();
    const std::string hostile = "</script><script>alert(1)</script><!--&amp;";
    report.tiles[0].samples[1].step.operation = hostile;
    report.tiles[0].samples[1].step.metadata = {{hostile, hostile}};
    const std::string page = page_of(report, hostile);

    const std::string data = data_text(page);
    EXPECT_EQ(data.find_first_of("<>&"), std::string::npos);
    // The page's own two script elements, and nothing the names could have opened.
    EXPECT_EQ(occurrences(page, "<script"), 2u);
    EXPECT_EQ(occurrences(page, "</script>"), 2u);
    const Json parsed = Json::parse(data);
    EXPECT_EQ(parsed["title"], hostile);
    EXPECT_EQ(parsed["costliest"][0]["operation"], hostile);
}

TEST(HeatmapPage, NeedsNothingFromOutside) {
    const std::string page = page_of(testing::small_report());
    EXPECT_NE(page.find("Content-Security-Policy"), std::string::npos);
    EXPECT_EQ(page.find("@PROFILE_DATA@"), std::string::npos);
    EXPECT_EQ(page.find("@PAGE_SCRIPT@"), std::string::npos);
    for (const char* fetching : {"<link", "src=", "url(", "@import", "fetch(", "XMLHttpRequest"}) {
        EXPECT_EQ(page.find(fetching), std::string::npos) << fetching;
    }
}

TEST(HeatmapPage, TilesOffTheGridAndEmptyProfilesStillMakeAPage) {
    const Json off_grid = Json::parse(
        data_text(page_of({.clock_hz = 0, .tiles = {{.physical_tile = 4'000'000'000u}}})));
    EXPECT_EQ(off_grid["tiles"][0]["physical"], 4'000'000'000u);
    EXPECT_TRUE(off_grid["tiles"][0]["logical"].is_null());
    EXPECT_TRUE(off_grid["span"].is_null());

    const Json empty = Json::parse(data_text(page_of({.clock_hz = 0, .tiles = {}})));
    EXPECT_TRUE(empty["tiles"].empty());
    EXPECT_TRUE(empty["costliest"].empty());
}

TEST(ScriptSafeJson, EscapesOnlyWhatCouldEndTheElement) {
    EXPECT_EQ(script_safe_json(Json{{"a", "</script> & <!--"}, {"b", 1}}),
              R"({"a":"\u003c/script\u003e \u0026 \u003c!--","b":1})");
}

}  // namespace
}  // namespace ipu_profile
