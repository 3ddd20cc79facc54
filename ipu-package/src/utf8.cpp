#include "utf8.hpp"

#include <cstdint>
#include <cstring>

namespace ipu_package {
namespace {

// Whether every byte of `text` is ASCII, which is what real profiles hold; checked
// 8 bytes at a time.
bool is_ascii(std::string_view text) {
    std::uint64_t seen = 0;
    std::size_t at = 0;
    for (; at + sizeof seen <= text.size(); at += sizeof seen) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + at, sizeof block);
        seen |= block;
    }
    for (; at < text.size(); ++at) {
        seen |= static_cast<unsigned char>(text[at]);
    }
    return (seen & 0x8080808080808080u) == 0;
}

// Skips whole 8-byte blocks of ASCII.
std::size_t skip_ascii(std::string_view text, std::size_t at) {
    constexpr std::uint64_t high_bits = 0x8080808080808080u;
    while (at + sizeof(std::uint64_t) <= text.size()) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + at, sizeof block);
        if ((block & high_bits) != 0) {
            break;
        }
        at += sizeof block;
    }
    return at;
}

// The allowed range of the byte after a lead byte; the lead byte decides it, to
// refuse overlong forms, surrogates and code points beyond U+10FFFF.
struct SecondByteRange {
    unsigned char low;
    unsigned char high;
};

SecondByteRange second_byte_range(unsigned char lead) {
    switch (lead) {
        case 0xe0:
            return {0xa0, 0xbf};
        case 0xed:
            return {0x80, 0x9f};
        case 0xf0:
            return {0x90, 0xbf};
        case 0xf4:
            return {0x80, 0x8f};
        default:
            return {0x80, 0xbf};
    }
}

// The length of the sequence that `lead` starts, 0 when no sequence starts with it.
std::size_t sequence_length(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xc2 && lead <= 0xdf) {
        return 2;
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        return 3;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        return 4;
    }
    return 0;
}

}  // namespace

std::optional<Utf8Error> find_utf8_error(std::string_view text) {
    if (is_ascii(text)) {
        return std::nullopt;
    }
    std::size_t at = 0;
    while (at < text.size()) {
        at = skip_ascii(text, at);
        if (at == text.size()) {
            break;
        }
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = sequence_length(lead);
        if (length == 0) {
            return Utf8Error{at, 1};
        }
        // Check the bytes after the lead one by one; the fault's length is the
        // number of bytes that still formed the start of a valid sequence.
        for (std::size_t i = 1; i < length; ++i) {
            if (at + i == text.size()) {
                return Utf8Error{at, std::nullopt};
            }
            const auto byte = static_cast<unsigned char>(text[at + i]);
            const SecondByteRange range =
                i == 1 ? second_byte_range(lead) : SecondByteRange{0x80, 0xbf};
            if (byte < range.low || byte > range.high) {
                return Utf8Error{at, static_cast<std::uint8_t>(i)};
            }
        }
        at += length;
    }
    return std::nullopt;
}

}  // namespace ipu_package
