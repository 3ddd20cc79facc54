#include "ipu_profile/sample_csv.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "ipu_profile/json_forms.hpp"
#include "small_profile.hpp"

namespace ipu_profile {
namespace {

using Row = std::vector<std::string>;

// Reads RFC 4180 CSV: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<Row> parse_csv(const std::string& text) {
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

std::vector<Row> csv_of(const ipu_package::ProfileReport& report) {
    std::ostringstream out;
    write_sample_csv(report, out);
    return parse_csv(out.str());
}

TEST(SampleCsv, HasAHeaderAndOneRowPerSampleInTheReportsOrder) {
    const std::vector<Row> rows = csv_of(testing::small_report());
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], (Row{"physical_tile", "row", "column", "sample", "kind", "operation",
                            "kernel", "local_index", "phase", "epoch", "start_cycle", "end_cycle",
                            "cycles", "metadata"}));
    EXPECT_EQ(rows[2], (Row{"65", "1", "1", "1", "compute", "matmul", "mm16", "160", "1", "2",
                            "160", "460", "300", R"({"block":["3","4"]})"}));
    EXPECT_EQ(rows[6], (Row{"2", "0", "2", "2", "compute", "matmul", "mm8", "400", "1", "2", "400",
                            "300", "0", "{}"}));
    EXPECT_EQ(rows[7][0], "65");
    EXPECT_EQ(rows[7][3], "0");
    for (const Row& row : rows) {
        EXPECT_EQ(row.size(), 14u);
    }
}

TEST(SampleCsv, QuotesNamesThatHoldSeparatorsQuotesOrLineBreaks) {
    const std::string awkward[] = {"a,b", "say \"hi\"", "two\nlines", "cr\r", "plain"};
    ipu_package::ProfileReport report{.clock_hz = 1, .tiles = {{.physical_tile = 0}}};
    for (const std::string& name : awkward) {
        ipu_package::CycleSample sample{};
        sample.step.operation = name;
        sample.step.kernel = name;
        sample.step.metadata = {{name, name}};
        report.tiles[0].samples.push_back(sample);
    }
    const std::vector<Row> rows = csv_of(report);
    ASSERT_EQ(rows.size(), std::size(awkward) + 1);
    for (std::size_t i = 0; i < std::size(awkward); ++i) {
        EXPECT_EQ(rows[i + 1][5], awkward[i]);
        EXPECT_EQ(rows[i + 1][6], awkward[i]);
        EXPECT_EQ(Json::parse(rows[i + 1][13])[awkward[i]], awkward[i]);
    }
    EXPECT_EQ(csv_field("plain"), "plain");
    EXPECT_EQ(csv_field("\"\""), "\"\"\"\"\"\"");
}

}  // namespace
}  // namespace ipu_profile
