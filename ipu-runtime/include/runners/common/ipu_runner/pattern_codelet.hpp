#pragma once

#include <cstdint>

#include "ipu_runner/pattern.hpp"
#include "ipu_sim/codelet.hpp"

namespace ipu_runner {

// A codelet "init_pattern" on logical tile `tile` that writes the pattern of
// `source` over `range` (the bytes pattern_bytes(source, range.address,
// range.length) gives), costed as a copy of range.length bytes.
ipu_sim::Codelet pattern_codelet(std::uint16_t tile, PatternSource source,
                                 ipu_sim::ByteRange range);

}  // namespace ipu_runner
