#pragma once

#include <expected>
#include <ostream>

#include "ipu_package/package_error.hpp"
#include "ipu_package/profile_report.hpp"

// How tests print reports and read results when an expectation fails: a summary
// rather than gtest's byte dump.
namespace ipu_package {

inline void PrintTo(const ProfileReport& report, std::ostream* out) {
    std::size_t samples = 0;
    for (const TileProfile& tile : report.tiles) {
        samples += tile.samples.size();
    }
    *out << "ProfileReport { clock_hz: " << report.clock_hz << ", " << report.tiles.size()
         << " tiles, " << samples << " samples }";
}

inline void PrintTo(const std::expected<ProfileReport, PackageError>& result, std::ostream* out) {
    if (result) {
        PrintTo(*result, out);
    } else {
        *out << "Err(" << result.error() << ")";
    }
}

inline void PrintTo(const std::unexpected<PackageError>& error, std::ostream* out) {
    *out << "Err(" << error.error() << ")";
}

}  // namespace ipu_package
