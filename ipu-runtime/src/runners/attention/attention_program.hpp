#pragma once

#include <expected>
#include <string_view>

#include "attention_plan.hpp"
#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_attention {

// Kernel name of the attention codelet, as step records show it.
inline constexpr std::string_view flash_attention_kernel = "flash_attention_f16";

// The device program of one shape, with each head's keys and values already on its
// home tile and each block's query rows on the block's tile. Two supersteps, on
// the physical numbers of the plan's tiles:
//   "share keys and values"  exchange only: every home tile multicasts its keys and
//                            values to the head's other tiles;
//   "flash attention"        every tile runs FlashAttention over its query rows
//                            (FP32 accumulation, or FP16 when the device injects
//                            fp16-accumulation) and sends its output rows to
//                            `output`, laid out as the output tensor.
// Fails when the exchange schedule is refused.
std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_attention_program(
    const AttentionPlan& plan, ipu_sim::HostBufferId output);

}  // namespace ipu_attention
