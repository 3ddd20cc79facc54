#include "ipu_text/debug_text.hpp"

#include <cstdio>

namespace ipu_text {

std::string debug_quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\t':
                quoted += "\\t";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\0':
                quoted += "\\0";
                break;
            default: {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7f) {
                    char escape[12];
                    std::snprintf(escape, sizeof escape, "\\u{%x}", byte);
                    quoted += escape;
                } else {
                    quoted += c;
                }
            }
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace ipu_text
