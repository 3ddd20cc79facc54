#include "ipu_profile/terminal_text.hpp"

#include <algorithm>
#include <cstdio>

namespace ipu_profile {
namespace {

void append_escape(std::string& out, unsigned code_point) {
    char escape[12];
    std::snprintf(escape, sizeof escape, "\\u{%x}", code_point);
    out += escape;
}

}  // namespace

std::string terminal_safe(std::string_view text) {
    std::string safe;
    safe.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c0_or_delete = byte < 0x20 || byte == 0x7f;
        // U+0080 to U+009F arrive in UTF-8 as 0xC2 followed by 0x80 to 0x9F.
        const bool c1 = byte == 0xc2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9f;
        if (c0_or_delete) {
            append_escape(safe, byte);
        } else if (c1) {
            append_escape(safe, static_cast<unsigned char>(text[++i]));
        } else {
            safe += text[i];
        }
    }
    return safe;
}

std::size_t display_width(std::string_view text) {
    return static_cast<std::size_t>(std::ranges::count_if(
        text, [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; }));
}

}  // namespace ipu_profile
