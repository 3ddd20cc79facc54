#include "ipu_profile/chrome_trace.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "ipu_profile/json_forms.hpp"
#include "small_profile.hpp"

namespace ipu_profile {
namespace {

Json trace_of(const ipu_package::ProfileReport& report) {
    std::ostringstream out;
    const auto written = write_chrome_trace(report, out);
    EXPECT_TRUE(written);
    return Json::parse(out.str());
}

std::vector<Json> events_with_phase(const Json& trace, std::string_view phase) {
    std::vector<Json> events;
    for (const Json& event : trace["traceEvents"]) {
        if (event["ph"] == phase) {
            events.push_back(event);
        }
    }
    return events;
}

TEST(ChromeTrace, HasOneCompleteEventPerSampleAndOneThreadPerTile) {
    const Json trace = trace_of(testing::small_report());
    EXPECT_EQ(trace["otherData"]["clock_hz"], 1'000'000'000u);
    EXPECT_EQ(events_with_phase(trace, "X").size(), 7u);

    std::map<std::string, std::vector<Json>> metadata;
    for (const Json& event : events_with_phase(trace, "M")) {
        EXPECT_EQ(event["pid"], 1);
        metadata[event["name"]].push_back(event);
    }
    ASSERT_EQ(metadata["process_name"].size(), 1u);
    EXPECT_EQ(metadata["process_name"][0]["args"]["name"], "IPU");
    ASSERT_EQ(metadata["thread_name"].size(), 3u);
    EXPECT_EQ(metadata["thread_name"][0]["tid"], 65);
    EXPECT_EQ(metadata["thread_name"][0]["args"]["name"], "tile 65 (row 1, column 1)");
    EXPECT_EQ(metadata["thread_name"][2]["args"]["name"], "tile 1471 (row 22, column 63)");
    EXPECT_EQ(metadata["thread_sort_index"].size(), 3u);
}

TEST(ChromeTrace, ConvertsCyclesAndCarriesTheStepAsArguments) {
    const std::vector<Json> samples = events_with_phase(trace_of(testing::small_report()), "X");
    const Json& matmul = samples[1];
    EXPECT_EQ(matmul["name"], "matmul");
    EXPECT_EQ(matmul["cat"], "compute");
    EXPECT_EQ(matmul["tid"], 65);
    EXPECT_DOUBLE_EQ(matmul["ts"].get<double>(), 0.16);
    EXPECT_DOUBLE_EQ(matmul["dur"].get<double>(), 0.3);
    const Json& args = matmul["args"];
    EXPECT_EQ(args["operation"], "matmul");
    EXPECT_EQ(args["kernel"], "mm16");
    EXPECT_EQ(args["kind"], "compute");
    EXPECT_EQ(args["local_index"], 160);
    EXPECT_EQ(args["phase"], 1);
    EXPECT_EQ(args["epoch"], 2);
    EXPECT_EQ(args["start_cycle"], 160);
    EXPECT_EQ(args["end_cycle"], 460);
    EXPECT_EQ(args["cycles"], 300);
    EXPECT_EQ(args["metadata"], Json::parse(R"({"block": ["3", "4"]})"));

    const Json& reversed = samples[5];
    EXPECT_EQ(reversed["args"]["end_cycle"], 300);
    EXPECT_EQ(reversed["dur"], 0.0);
}

TEST(ChromeTrace, KeepsHostileNamesExactAndNamesUnnamedStepsByKind) {
    ipu_package::ProfileReport report = testing::small_report();
    const std::string hostile = "\"},{\"ph\":\"X\"\n</script>\\";
    report.tiles[0].samples[0].step.operation = hostile;
    report.tiles[0].samples[1].step.operation.clear();
    const std::vector<Json> samples = events_with_phase(trace_of(report), "X");
    EXPECT_EQ(samples.size(), 7u);
    EXPECT_EQ(samples[0]["name"], hostile);
    EXPECT_EQ(samples[1]["name"], "compute");
}

TEST(ChromeTrace, RefusesAProfileWithoutAClockRateBeforeWritingAnything) {
    ipu_package::ProfileReport report = testing::small_report();
    report.clock_hz = 0;
    std::ostringstream out;
    const auto written = write_chrome_trace(report, out);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error(), TraceError::UnknownClockRate);
    EXPECT_TRUE(out.str().empty());
}

TEST(MetadataJson, KeepsOrderAndEveryValueOfARepeatedName) {
    EXPECT_EQ(json_text(metadata_json({})), "{}");
    EXPECT_EQ(json_text(metadata_json({{"b", "1"}, {"a", "2"}, {"b", "3"}, {"b", "4"}})),
              R"({"b":["1","3","4"],"a":"2"})");
}

}  // namespace
}  // namespace ipu_profile
