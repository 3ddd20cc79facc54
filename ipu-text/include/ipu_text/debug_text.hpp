#pragma once

#include <string>
#include <string_view>

namespace ipu_text {

// Renders `text` as a one-line quoted literal: enclosed in double quotes, with a
// backslash before `"` and `\`, the usual escapes for tab, carriage return, line
// feed and NUL, and `\u{..}` (lower-case hex) for every other control character.
// Bytes from 0x80 up pass through unchanged. This is the quoted form that error
// texts and failure messages of this workspace use.
std::string debug_quoted(std::string_view text);

}  // namespace ipu_text
