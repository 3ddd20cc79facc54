#include "hand_made_words.hpp"

#include <cstring>

namespace ipu_package::hand_made {
namespace {

std::uint64_t offset_bits(std::int32_t offset) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(offset)) << 2) & 0xffff'fffcu;
}

void append_le(std::string& bytes, std::uint64_t value, int byte_count) {
    for (int i = 0; i < byte_count; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xffu);
    }
}

}  // namespace

std::uint64_t struct_pointer(std::int32_t offset, std::uint16_t data_words,
                             std::uint16_t pointers) {
    return offset_bits(offset) | std::uint64_t{data_words} << 32 | std::uint64_t{pointers} << 48;
}

std::uint64_t list_pointer(std::int32_t offset, ElementSize size, std::uint32_t count) {
    return 1u | offset_bits(offset) | std::uint64_t{static_cast<std::uint8_t>(size)} << 32 |
           std::uint64_t{count} << 35;
}

std::uint64_t composite_tag(std::uint32_t elements, std::uint16_t data_words,
                            std::uint16_t pointers) {
    return std::uint64_t{elements} << 2 | std::uint64_t{data_words} << 32 |
           std::uint64_t{pointers} << 48;
}

std::vector<std::uint64_t> text_words(const std::string& text) {
    std::vector<std::uint64_t> words((text.size() + 1 + 7) / 8, 0);
    std::memcpy(words.data(), text.data(), text.size());
    return words;
}

std::string framed(const std::vector<Segment>& segments) {
    std::string bytes;
    append_le(bytes, segments.size() - 1, 4);
    for (const Segment& segment : segments) {
        append_le(bytes, segment.size(), 4);
    }
    if (bytes.size() % 8 != 0) {
        append_le(bytes, 0, 4);
    }
    for (const Segment& segment : segments) {
        for (const std::uint64_t word : segment) {
            append_le(bytes, word, 8);
        }
    }
    return bytes;
}

std::string le32(std::initializer_list<std::uint32_t> values) {
    std::string bytes;
    for (const std::uint32_t value : values) {
        append_le(bytes, value, 4);
    }
    return bytes;
}

}  // namespace ipu_package::hand_made
