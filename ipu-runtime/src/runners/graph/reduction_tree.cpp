#include "reduction_tree.hpp"

#include <numeric>

namespace ipu_graph_runner {

std::vector<std::vector<ReductionGroup>> reduction_levels(std::uint16_t tile_count,
                                                          std::size_t fan_in) {
    std::vector<std::uint16_t> survivors(tile_count);
    std::iota(survivors.begin(), survivors.end(), std::uint16_t{0});
    std::vector<std::vector<ReductionGroup>> levels;
    while (survivors.size() > 1) {
        std::vector<ReductionGroup> level;
        std::vector<std::uint16_t> leaders;
        for (std::size_t first = 0; first < survivors.size(); first += fan_in) {
            ReductionGroup group{survivors[first], {}};
            for (std::size_t i = first + 1; i < std::min(first + fan_in, survivors.size()); ++i) {
                group.members.push_back(survivors[i]);
            }
            leaders.push_back(group.leader);
            level.push_back(std::move(group));
        }
        levels.push_back(std::move(level));
        survivors = std::move(leaders);
    }
    return levels;
}

}  // namespace ipu_graph_runner
