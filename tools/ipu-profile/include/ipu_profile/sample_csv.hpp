#pragma once

#include <ipu_package/profile_report.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace ipu_profile {

// The CSV header line's fields, in column order.
inline constexpr std::string_view sample_csv_header =
    "physical_tile,row,column,sample,kind,operation,kernel,local_index,phase,epoch,"
    "start_cycle,end_cycle,cycles,metadata";

// Writes `report` to `out` as CSV: the header, then one line per sample in the
// report's order. `sample` numbers the samples of each tile entry from 0; `cycles`
// is 0 for a sample that ends before it starts; `metadata` is the step's metadata
// as a JSON object. Fields are quoted where they need it. Whether `out` took the
// text is for the caller to check.
void write_sample_csv(const ipu_package::ProfileReport& report, std::ostream& out);

// `text` as one CSV field: unchanged, or in double quotes with inner quotes doubled
// when it holds a comma, a quote or a line break.
std::string csv_field(std::string_view text);

}  // namespace ipu_profile
