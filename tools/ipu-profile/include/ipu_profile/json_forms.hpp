#pragma once

#include <ipu_package/profile_report.hpp>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace ipu_profile {

// JSON with its members kept in the order they were added.
using Json = nlohmann::ordered_json;

// `json` as text, compact unless `indent` is 0 or more. Text that is not valid
// UTF-8 is written with replacement characters instead of failing.
std::string json_text(const Json& json, int indent = -1);

// A step's metadata as one object, entries in the profile's order. A name that
// occurs more than once maps to the array of its values, so nothing is lost.
Json metadata_json(const std::vector<ipu_package::ProfileMetadata>& metadata);

}  // namespace ipu_profile
