#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ipu_sim {

// What one unit of a codelet's work is, for the cycle cost.
enum class CostClass {
    Copy,                   // one byte moved
    IntAdd,                 // one 32-bit integer add
    F32Add,                 // one FP32 add
    F32MultiplyAccumulate,  // one FP32 multiply-accumulate
    F16MultiplyAccumulate,  // one FP16 multiply-accumulate
    Compare,                // one compare or max
    Exp,                    // one exponential
    Divide,                 // one FP32 divide
};

// One row of the device's cost table: `cycles` per `units` units of work.
struct CostClassEntry {
    CostClass cost_class;
    std::string_view name;
    std::uint32_t cycles;
    std::uint32_t units;
};

// Fixed cycles every codelet costs to start, whatever its work.
inline constexpr std::uint64_t codelet_launch_cycles = 16;

// The cost table, one row per CostClass in declaration order.
std::span<const CostClassEntry> cost_table();

// The row of `cost_class`.
const CostClassEntry& cost_of(CostClass cost_class);

// codelet_launch_cycles + ceil(work * cycles / units) of the class's row.
std::uint64_t codelet_cycles(CostClass cost_class, std::uint64_t work);

}  // namespace ipu_sim
