#pragma once

#include <capnp/message.h>

#include <cstdint>

#include "ipu_package/profile_report.hpp"

namespace ipu_package {

// Sets `message`'s root to a Profile holding `report`, stamped with
// `schema_version`, through the generated builders. Everything is written as
// given. Throws kj::Exception when a list or text is too long for the format.
void build_profile(const ProfileReport& report, std::uint32_t schema_version,
                   capnp::MessageBuilder& message);

}  // namespace ipu_package
