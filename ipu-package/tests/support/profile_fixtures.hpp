#pragma once

#include <cstdint>
#include <string>

#include "ipu_package/profile_report.hpp"

// Reports and encoded profiles shared by the tests, the fuzzer's seeds and the
// benchmark.
namespace ipu_package::fixtures {

// A small report that uses every field: several tiles (one without samples, two with
// the same number), all four kinds, texts with non-ASCII characters and an embedded
// NUL, steps with and without metadata, an end cycle below its start.
ProfileReport varied_report();

// A regular report of the given shape, like a profiled GEMM run writes: every tile
// has `samples_per_tile` samples cycling through the four kinds, each step carrying
// `metadata_per_step` entries.
ProfileReport synthetic_report(std::uint32_t tiles, std::uint32_t samples_per_tile,
                               std::uint32_t metadata_per_step);

// The writer's bytes for `report`, stamped with `schema_version`; the writer does not
// fail on these reports.
std::string encoded(const ProfileReport& report, std::uint32_t schema_version = 1);

// Writes `report` stamped with `schema_version` to a new file at `path` with the
// library's writer; throws std::runtime_error when it cannot.
void write_report_file(const ProfileReport& report, const std::string& path,
                       std::uint32_t schema_version = 1);

}  // namespace ipu_package::fixtures
