#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ipu_profile {

// `text` with every control character (C0, DEL and the C1 range) written as a
// visible `\u{..}` escape, so that a name read from a file cannot move the cursor
// or recolour the terminal. Everything else passes through unchanged.
std::string terminal_safe(std::string_view text);

// The columns `text` takes on a terminal, counting one per UTF-8 code point.
std::size_t display_width(std::string_view text);

}  // namespace ipu_profile
