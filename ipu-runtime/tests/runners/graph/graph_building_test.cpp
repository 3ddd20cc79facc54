#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "reduction_tree.hpp"
#include "segmented_graph_compiler.hpp"

namespace ipu_graph_runner {
namespace {

TEST(ReductionTree, EightWayTreeOverTheChipReachesTileZeroOnce) {
    const auto levels = reduction_levels(c600_tile_count, 8);
    std::vector<std::size_t> sizes;
    for (const auto& level : levels) {
        sizes.push_back(level.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{184, 23, 3, 1}));
    EXPECT_EQ(levels.back().front().leader, 0);

    // Every tile but 0 sends exactly once, and only after it stopped leading.
    std::vector<int> sends(c600_tile_count, 0);
    std::set<std::uint16_t> active;
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        active.insert(tile);
    }
    for (const auto& level : levels) {
        std::set<std::uint16_t> leaders;
        for (const ReductionGroup& group : level) {
            ASSERT_TRUE(active.contains(group.leader));
            leaders.insert(group.leader);
            for (const std::uint16_t member : group.members) {
                ASSERT_TRUE(active.contains(member)) << member;
                ++sends[member];
            }
        }
        active = leaders;
    }
    EXPECT_EQ(sends[0], 0);
    EXPECT_TRUE(std::all_of(sends.begin() + 1, sends.end(), [](int n) { return n == 1; }));
}

TEST(ReductionTree, UnevenRuns) {
    const auto levels = reduction_levels(5, 2);
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].back().leader, 4);
    EXPECT_TRUE(levels[0].back().members.empty());
    EXPECT_EQ(levels[1][0].members, std::vector<std::uint16_t>{2});
    EXPECT_EQ(levels[1][1].leader, 4);
    EXPECT_TRUE(levels[1][1].members.empty());
    EXPECT_EQ(levels[2][0].members, std::vector<std::uint16_t>{4});
}

TEST(TilePermutation, GraphPermutationsMoveEveryTile) {
    for (const TilePermutation permutation :
         {TilePermutation{577, 331}, TilePermutation{1031, 97}}) {
        const auto senders = permutation.senders();
        std::set<std::uint16_t> images;
        for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
            images.insert(permutation(tile));
            EXPECT_NE(permutation(tile), tile);
            EXPECT_EQ(senders[permutation(tile)], tile);
        }
        EXPECT_EQ(images.size(), c600_tile_count);
    }
}

using Piece = std::tuple<std::uint16_t, std::uint32_t, std::uint32_t, std::uint32_t>;

std::vector<Piece> pieces_of(const Tensor& tensor) {
    std::vector<Piece> pieces;
    for (const TensorPiece& p : tensor.pieces) {
        pieces.emplace_back(p.tile, p.address, p.first_element, p.elements);
    }
    return pieces;
}

TEST(SegmentedGraphCompiler, ShardsFillArenasInOrderAndCrossTheirBoundaries) {
    // Arenas of 10, 4 and 16 words; 13 words go 7 to tile 4 and 6 to tile 9.
    SegmentedGraphCompiler compiler({4, 9}, {{0x1000, 40}, {0x2000, 16}, {0x41000, 64}});
    const auto a = compiler.allocate("a", 13);
    const auto b = compiler.allocate("b", 13);
    const auto c = compiler.allocate("c", 13);
    ASSERT_TRUE(a.has_value() && b.has_value() && c.has_value());
    // (tile, address, first element, elements)
    EXPECT_EQ(pieces_of(*a), (std::vector<Piece>{{4, 0x1000, 0, 7}, {9, 0x1000, 7, 6}}));
    EXPECT_EQ(pieces_of(*b),
              (std::vector<Piece>{
                  {4, 0x101c, 0, 3}, {4, 0x2000, 3, 4}, {9, 0x1018, 7, 4}, {9, 0x2000, 11, 2}}));
    EXPECT_EQ(pieces_of(*c),
              (std::vector<Piece>{{4, 0x41000, 0, 7}, {9, 0x2008, 7, 2}, {9, 0x41000, 9, 4}}));

    // One codelet per run contiguous in all three: tile 4 splits at 3, tile 9 at
    // 9 and 11.
    const auto codelets = compiler.add(*a, *b, *c);
    std::vector<std::pair<std::uint16_t, std::uint64_t>> runs;
    for (const auto& codelet : codelets) {
        runs.emplace_back(codelet.tile, codelet.work);
    }
    const std::uint16_t four = physical_tile(4);
    const std::uint16_t nine = physical_tile(9);
    EXPECT_EQ(runs, (std::vector<std::pair<std::uint16_t, std::uint64_t>>{
                        {four, 3}, {four, 4}, {nine, 2}, {nine, 2}, {nine, 2}}));
    EXPECT_EQ(codelets[3].inputs, (std::vector<ipu_sim::ByteRange>{{0x1008, 8}, {0x1020, 8}}));
    EXPECT_EQ(codelets[3].outputs, (std::vector<ipu_sim::ByteRange>{{0x41000, 8}}));

    EXPECT_EQ(compiler.allocate("too big", 100).error(), ipu_exchange::ExchangeError::Count{100});
}

TEST(Graphs, EveryGraphCompilesAndChecksWhatItProduces) {
    for (const GraphEntry& graph : graph_catalogue()) {
        const auto plan = graph.build();
        ASSERT_TRUE(plan.has_value()) << graph.name << ": " << plan.error().debug();
        EXPECT_FALSE(plan->program.supersteps.empty()) << graph.name;
        EXPECT_FALSE(plan->expectations.empty()) << graph.name;
    }
}

}  // namespace
}  // namespace ipu_graph_runner
