#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ipu_runner {

// A reproducible pseudo-random byte pattern. The byte at tile address `a` depends
// on the stream, the tile and `a` alone, so the same bytes come back however a
// range is split, and patterns of different streams or tiles differ almost
// everywhere. Streams separate the roles of data in one run (first write,
// overwrite, sentinel, ...).
struct PatternSource {
    std::uint32_t stream;
    std::uint16_t tile;
};

// Writes the pattern of `source` for tile addresses `address` .. `address` +
// bytes.size() into `bytes`.
void fill_pattern(PatternSource source, std::uint32_t address, std::span<std::uint8_t> bytes);

// The same pattern as a new buffer of `length` bytes.
std::vector<std::uint8_t> pattern_bytes(PatternSource source, std::uint32_t address,
                                        std::size_t length);

}  // namespace ipu_runner
