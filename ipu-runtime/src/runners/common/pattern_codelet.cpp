#include "ipu_runner/pattern_codelet.hpp"

#include "ipu_runner/physical_tile.hpp"

namespace ipu_runner {

ipu_sim::Codelet pattern_codelet(std::uint16_t tile, PatternSource source,
                                 ipu_sim::ByteRange range) {
    return {
        .kernel = "init_pattern",
        .tile = physical_tile(tile),
        .inputs = {},
        .outputs = {range},
        .cost_class = ipu_sim::CostClass::Copy,
        .work = range.length,
        .body =
            [source, range](ipu_sim::TileView& view) {
                const auto bytes = pattern_bytes(source, range.address, range.length);
                view.write(range.address, std::span<const std::uint8_t>(bytes));
            },
    };
}

}  // namespace ipu_runner
