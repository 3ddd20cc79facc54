#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/codelet.hpp"

namespace ipu_graph_runner {

// A small graph compiler for element-wise vector work on 32-bit words. Each tile's
// SRAM offers the same segmented arenas (disjoint address ranges, used in list
// order); tensors are sharded evenly over the compiler's tiles, and each shard
// fills the arenas first-fit, continuing in the next arena where one runs out, so
// a shard may be split at arena boundaries.

// A contiguous run of a tensor's elements in one tile's SRAM.
struct TensorPiece {
    std::uint16_t tile;  // logical
    std::uint32_t address;
    std::uint32_t first_element;
    std::uint32_t elements;
};

struct Tensor {
    std::string name;
    std::uint32_t elements;
    std::vector<TensorPiece> pieces;  // in element order
};

class SegmentedGraphCompiler {
  public:
    // `tiles` (logical) take the shards in order; `arenas` must be disjoint ranges
    // inside SRAM whose addresses and lengths are multiples of 4.
    SegmentedGraphCompiler(std::vector<std::uint16_t> tiles,
                           std::vector<ipu_sim::ByteRange> arenas);

    // Allocates a tensor of `elements` words: tile i of n gets elements / n words,
    // and the first elements % n tiles one more. Count(elements) when a shard does
    // not fit in what is left of its tile's arenas.
    std::expected<Tensor, ipu_exchange::ExchangeError> allocate(std::string name,
                                                                std::uint32_t elements);

    // Codelets computing sum = left + right element by element (mod 2^32), one per
    // run of elements that lies contiguously in all three tensors, on the tile
    // holding it. The tensors must come from this compiler with equal lengths.
    std::vector<ipu_sim::Codelet> add(const Tensor& left, const Tensor& right,
                                      const Tensor& sum) const;

  private:
    struct Cursor {
        std::size_t arena = 0;
        std::uint32_t used = 0;  // bytes used in that arena
    };

    std::vector<std::uint16_t> tiles_;
    std::vector<ipu_sim::ByteRange> arenas_;
    std::vector<Cursor> cursors_;  // one per tile
};

}  // namespace ipu_graph_runner
