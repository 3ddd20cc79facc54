#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ipu_graph_runner {

// One reduction step: `members` send their partials to `leader`, which adds them.
struct ReductionGroup {
    std::uint16_t leader;
    std::vector<std::uint16_t> members;  // without the leader; may be empty
};

// The levels of a reduction of tiles 0 .. tile_count - 1 to tile 0. Level 0
// splits all tiles, in order, into runs of `fan_in`; the first of each run leads
// it. Each later level does the same with the leaders of the level before, until
// one leader is left. `fan_in` must be at least 2.
std::vector<std::vector<ReductionGroup>> reduction_levels(std::uint16_t tile_count,
                                                          std::size_t fan_in);

}  // namespace ipu_graph_runner
