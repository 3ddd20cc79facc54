#pragma once

#include <cstdint>
#include <expected>
#include <string>

#include "ipu_package/package_error.hpp"
#include "ipu_package/profile_report.hpp"

namespace ipu_package {

// The writer encodes a report faithfully and judges nothing: the version stamp is
// the caller's choice, and a kind or text that readers refuse is written as given.
// Reading the output back gives an equal report whenever the version is 1, 2 or 3,
// every kind is one of the four and every text is UTF-8.

// Writes `report` as one unpacked Cap'n Proto profile message stamped with
// `schema_version` to `fd`, which stays open and belongs to the caller. Fails with
// Io when writing fails (the descriptor's contents are then unspecified) and with
// Capnp when the report does not fit the format (a list or text too long for it).
std::expected<void, PackageError> write_profile(const ProfileReport& report,
                                                std::uint32_t schema_version, int fd);

// The bytes that write_profile() would write, in memory.
std::expected<std::string, PackageError> encode_profile(const ProfileReport& report,
                                                        std::uint32_t schema_version);

}  // namespace ipu_package
