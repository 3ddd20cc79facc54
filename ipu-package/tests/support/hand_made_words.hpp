#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Building blocks for hand-made Cap'n Proto messages, word by word, so that tests
// and the fuzzer's seeds can say exactly which pointer is broken and how.
namespace ipu_package::hand_made {

// Element sizes of a list pointer, by their code in the encoding.
enum class ElementSize : std::uint8_t {
    Void = 0,
    Bit = 1,
    Byte = 2,
    TwoBytes = 3,
    FourBytes = 4,
    EightBytes = 5,
    Pointer = 6,
    InlineComposite = 7,
};

// A struct pointer whose target starts `offset` words after the pointer's own end.
std::uint64_t struct_pointer(std::int32_t offset, std::uint16_t data_words, std::uint16_t pointers);

// A list pointer; for InlineComposite, `count` is the number of words after the tag.
std::uint64_t list_pointer(std::int32_t offset, ElementSize size, std::uint32_t count);

// The tag word that heads an InlineComposite list of `elements` structs.
std::uint64_t composite_tag(std::uint32_t elements, std::uint16_t data_words,
                            std::uint16_t pointers);

// A text's bytes, NUL-terminated, packed little-endian into words; the pointer to
// it is list_pointer(offset, Byte, text.size() + 1).
std::vector<std::uint64_t> text_words(const std::string& text);

using Segment = std::vector<std::uint64_t>;

// The message in the standard stream framing: segment table, then the segments.
std::string framed(const std::vector<Segment>& segments);

// Unsigned 32-bit values, little-endian, back to back: a raw segment table.
std::string le32(std::initializer_list<std::uint32_t> values);

}  // namespace ipu_package::hand_made
