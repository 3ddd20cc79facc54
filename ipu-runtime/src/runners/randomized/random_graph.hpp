#pragma once

#include <cstdint>
#include <vector>

namespace ipu_randomized_runner {

// Each tile of a random graph works in one window of its SRAM, at a random base.
inline constexpr std::uint32_t window_bytes = 16 * 1024;

struct TileWindow {
    std::uint16_t tile;  // logical
    std::uint32_t base;  // SRAM address of the window
};

struct RandomReceiver {
    std::size_t window;    // index into RandomGraph::windows
    std::uint32_t offset;  // within the window
};

// `length` bytes from the sender's window at `source_offset` to every receiver.
struct RandomTransfer {
    std::size_t sender;  // index into RandomGraph::windows
    std::uint32_t source_offset;
    std::uint32_t length;
    std::vector<RandomReceiver> receivers;
};

// A random static exchange graph, valid by construction: distinct tiles, every
// range inside its window, receivers distinct and never the sender, and no two
// writes of one phase overlapping on a tile. Phases run one after another.
struct RandomGraph {
    std::uint64_t seed;
    std::vector<TileWindow> windows;
    std::vector<std::vector<RandomTransfer>> phases;
};

// The graph of `seed`, drawn with the suite's ScenarioGenerator only, so the same
// seed gives the same graph on every build and machine: 8 to 64 tiles, 2 to 6
// phases of 1 to 24 transfers, lengths of 1 to 1024 bytes, about one transfer in
// three a multicast to 2 to 6 receivers.
RandomGraph generate_random_graph(std::uint64_t seed);

}  // namespace ipu_randomized_runner
