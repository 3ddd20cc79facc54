#pragma once

#include <span>
#include <string_view>

#include "graph_plan.hpp"

namespace ipu_graph_runner {

// The graphs of ipu-hardware-e2e, one per IPU_GRAPH_TEST value.
GraphBuild fanout_graph();                   // one source multicasts to every other tile
GraphBuild reduction_graph();                // every tile's vector summed to one tile
GraphBuild permutation_graph();              // every tile sends a block under a permutation
GraphBuild sparse_compute_exchange_graph();  // compute on a few tiles, then all exchange
GraphBuild multicast_graph();                // multicasts whose receivers also send
GraphBuild segmented_add_graph();            // compiled add over segmented SRAM arenas

struct GraphEntry {
    std::string_view name;
    GraphBuild (*build)();
};

// The six graphs, in the order a run without IPU_GRAPH_TEST takes them.
std::span<const GraphEntry> graph_catalogue();

}  // namespace ipu_graph_runner
