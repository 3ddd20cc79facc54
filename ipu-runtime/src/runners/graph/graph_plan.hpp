#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_runner/tile_io.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_graph_runner {

// Bytes the host writes to a logical tile before the program runs.
struct HostInput {
    std::uint16_t tile;
    std::uint32_t address;
    std::vector<std::uint8_t> bytes;
};

// One graph, ready to run: its inputs, its program and the reference for every
// byte it produces, computed on the host from first principles.
struct GraphPlan {
    std::string description;  // what the graph does, for the summary line
    std::vector<HostInput> inputs;
    ipu_sim::Program program;
    std::vector<ipu_runner::TileExpectation> expectations;
};

// A graph that the exchange compiler refused (a bug of the graph, not a result).
using GraphBuild = std::expected<GraphPlan, ipu_exchange::ExchangeError>;

}  // namespace ipu_graph_runner
