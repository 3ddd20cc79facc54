#pragma once

#include <optional>
#include <string_view>

#include "ipu_package/package_error.hpp"

namespace ipu_package {

// The first fault in `text` as UTF-8, or nothing when it is valid. A fault is
// described by the length of the valid prefix before it and the length of the
// maximal prefix of a well-formed sequence that it starts with (1 to 3 bytes),
// absent when the text ends inside a sequence that could still have been valid.
std::optional<Utf8Error> find_utf8_error(std::string_view text);

}  // namespace ipu_package
