#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ipu_sim/fault.hpp"

namespace ipu_sim {
namespace {

TEST(FaultCatalogue, NamesAreUniqueAndKebabCase) {
    std::set<std::string_view> names;
    for (const Fault fault : all_faults()) {
        const std::string_view name = fault_name(fault);
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-"),
                  std::string_view::npos)
            << name;
    }
    EXPECT_EQ(all_faults().size(), 15u);
    EXPECT_EQ(fault_name(Fault::None), "none");
}

}  // namespace
}  // namespace ipu_sim
