#include "graph_catalogue.hpp"

namespace ipu_graph_runner {

std::span<const GraphEntry> graph_catalogue() {
    static constexpr GraphEntry graphs[] = {
        {"fanout", fanout_graph},
        {"reduction", reduction_graph},
        {"permutation", permutation_graph},
        {"reduction-permutation", sparse_compute_exchange_graph},
        {"multicast", multicast_graph},
        {"compiler-segmented-add", segmented_add_graph},
    };
    return graphs;
}

}  // namespace ipu_graph_runner
