#include "ipu_sim/cost_table.hpp"

#include <array>

namespace ipu_sim {
namespace {

// Cycles per units of work, per class. Rows in CostClass order.
constexpr std::array<CostClassEntry, 8> table{{
    {CostClass::Copy, "Copy", 1, 8},
    {CostClass::IntAdd, "IntAdd", 1, 2},
    {CostClass::F32Add, "F32Add", 1, 2},
    {CostClass::F32MultiplyAccumulate, "F32MultiplyAccumulate", 1, 2},
    {CostClass::F16MultiplyAccumulate, "F16MultiplyAccumulate", 1, 4},
    {CostClass::Compare, "Compare", 1, 2},
    {CostClass::Exp, "Exp", 4, 1},
    {CostClass::Divide, "Divide", 8, 1},
}};

}  // namespace

std::span<const CostClassEntry> cost_table() {
    return table;
}

const CostClassEntry& cost_of(CostClass cost_class) {
    return table[static_cast<std::size_t>(cost_class)];
}

std::uint64_t codelet_cycles(CostClass cost_class, std::uint64_t work) {
    const CostClassEntry& entry = cost_of(cost_class);
    return codelet_launch_cycles + (work * entry.cycles + entry.units - 1) / entry.units;
}

}  // namespace ipu_sim
