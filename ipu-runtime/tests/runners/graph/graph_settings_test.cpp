#include "graph_settings.hpp"

#include <gtest/gtest.h>

#include "test_support/scoped_environment.hpp"

namespace ipu_graph_runner {
namespace {

using test_support::ScopedEnvironment;

std::vector<std::string_view> names(const std::vector<GraphEntry>& graphs) {
    std::vector<std::string_view> result;
    for (const GraphEntry& graph : graphs) {
        result.push_back(graph.name);
    }
    return result;
}

TEST(GraphSettings, AbsentRunsAllSixInOrder) {
    const ScopedEnvironment environment({}, {"IPU_GRAPH_TEST"});
    const auto selection = read_graph_selection();
    ASSERT_TRUE(selection.has_value());
    EXPECT_EQ(names(*selection), (std::vector<std::string_view>{
                                     "fanout", "reduction", "permutation", "reduction-permutation",
                                     "multicast", "compiler-segmented-add"}));
}

TEST(GraphSettings, EachNameSelectsItsGraphAndNothingElseIsAName) {
    for (const GraphEntry& graph : graph_catalogue()) {
        const ScopedEnvironment environment({{"IPU_GRAPH_TEST", std::string(graph.name)}});
        const auto selection = read_graph_selection();
        ASSERT_TRUE(selection.has_value()) << graph.name;
        EXPECT_EQ(names(*selection), std::vector<std::string_view>{graph.name});
    }
    for (const std::string bad : {"", "Fanout", "fanout ", "reduction,permutation", "all"}) {
        const ScopedEnvironment environment({{"IPU_GRAPH_TEST", bad}});
        const auto selection = read_graph_selection();
        ASSERT_FALSE(selection.has_value()) << '"' << bad << '"';
        EXPECT_EQ(selection.error().variable, "IPU_GRAPH_TEST");
        EXPECT_EQ(selection.error().value, bad);
        EXPECT_EQ(selection.error().problem,
                  "not a graph; the graphs are fanout, reduction, permutation, "
                  "reduction-permutation, multicast, compiler-segmented-add");
    }
}

}  // namespace
}  // namespace ipu_graph_runner
