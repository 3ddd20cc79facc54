#include "ipu_exchange/disjoint_ranges.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ipu_exchange {
namespace {

constexpr std::string_view conflict = "overlapping test writes";

TEST(DisjointRanges, OverlapsInOneMemoryAreFoundWhereverTheyStandInTheList) {
    const struct {
        std::string name;
        std::vector<MemoryRange> ranges;
        bool disjoint;
    } cases[] = {
        {"nothing", {}, true},
        {"touching ranges", {{1, 0, 8}, {1, 8, 16}, {1, 16, 17}}, true},
        {"same bytes of other memories", {{1, 0, 8}, {2, 0, 8}, {3, 4, 12}}, true},
        {"one shared byte", {{1, 0, 8}, {1, 7, 9}}, false},
        {"listed in reverse", {{1, 7, 9}, {1, 0, 8}}, false},
        {"nested", {{4, 0, 100}, {4, 10, 20}}, false},
        {"behind a range it does not touch", {{4, 0, 100}, {4, 10, 20}, {4, 50, 60}}, false},
        {"a wide range covers one listed far from it",
         {{4, 50, 60}, {2, 0, 1000}, {4, 200, 300}, {4, 0, 55}},
         false},
        {"ranges past 32 bits",
         {{0, 0xFFFFFFFF, 0x100000003}, {0, 0x100000002, 0x100000004}},
         false},
    };
    for (const auto& c : cases) {
        const auto checked = check_disjoint(c.ranges, conflict);
        if (c.disjoint) {
            EXPECT_TRUE(checked.has_value()) << c.name << ": " << checked.error();
        } else {
            ASSERT_FALSE(checked.has_value()) << c.name;
            EXPECT_EQ(checked.error(), ExchangeError(ExchangeError::Schedule{conflict})) << c.name;
        }
    }
}

}  // namespace
}  // namespace ipu_exchange
