#pragma once

#include <capnp/common.h>
#include <kj/common.h>

#include <cstdint>
#include <string>

namespace ipu_package {

// Sizes of the standard (unpacked) stream framing of a Cap'n Proto message.
inline constexpr std::size_t kWordBytes = sizeof(capnp::word);
// A segment table announcing this many segments or more is refused.
inline constexpr std::uint64_t kSegmentLimit = 512;

// The bytes of a segment table for a message of `segment_count` segments: the count
// minus one, each segment's size in words, zero fill to a whole word.
std::size_t segment_table_bytes(std::uint64_t segment_count);

// The segment table that frames `segments`.
std::string segment_table(kj::ArrayPtr<const kj::ArrayPtr<const capnp::word>> segments);

}  // namespace ipu_package
