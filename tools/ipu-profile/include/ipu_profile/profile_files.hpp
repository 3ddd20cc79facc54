#pragma once

#include <expected>
#include <functional>
#include <ipu_package/package_error.hpp>
#include <ipu_package/profile_report.hpp>
#include <ostream>
#include <string>

namespace ipu_profile {

// Reads the profile file at `path`. A file that cannot be opened gives Io with the
// operating system's error; everything else is ProfileReport::read's verdict.
std::expected<ipu_package::ProfileReport, ipu_package::PackageError> read_profile_file(
    const std::string& path);

// Creates or replaces the file at `path` with what `write` puts into the stream.
// Fails with one line naming the path when the file cannot be opened or written, or
// with `write`'s own failure; a regular file left incomplete by a failure is removed.
std::expected<void, std::string> write_output_file(
    const std::string& path,
    const std::function<std::expected<void, std::string>(std::ostream&)>& write);

}  // namespace ipu_profile
