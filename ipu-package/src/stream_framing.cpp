#include "stream_framing.hpp"

#include <cstring>

namespace ipu_package {
namespace {

void append_u32(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((value >> shift) & 0xffu);
    }
}

}  // namespace

std::size_t segment_table_bytes(std::uint64_t segment_count) {
    const std::uint64_t entries = segment_count + 1;  // the count, then one size each
    return static_cast<std::size_t>((entries * 4 + kWordBytes - 1) / kWordBytes * kWordBytes);
}

std::string segment_table(kj::ArrayPtr<const kj::ArrayPtr<const capnp::word>> segments) {
    std::string table;
    table.reserve(segment_table_bytes(segments.size()));
    append_u32(table, static_cast<std::uint32_t>(segments.size() - 1));
    for (const auto& segment : segments) {
        append_u32(table, static_cast<std::uint32_t>(segment.size()));
    }
    table.resize(segment_table_bytes(segments.size()), '\0');
    return table;
}

}  // namespace ipu_package
