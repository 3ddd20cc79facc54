#include "ipu_sim/codelet.hpp"

#include <algorithm>
#include <string>

#include "fault_injector.hpp"
#include "ipu_sim/tile_memory.hpp"

namespace ipu_sim {
namespace {

bool covers(std::span<const ByteRange> ranges, std::uint32_t address, std::size_t length) {
    return std::any_of(ranges.begin(), ranges.end(), [&](const ByteRange& range) {
        return address >= range.address &&
               std::uint64_t{address} + length <= std::uint64_t{range.address} + range.length;
    });
}

}  // namespace

TileView::TileView(std::uint16_t tile, TileMemory& memory, std::span<const ByteRange> inputs,
                   std::span<const ByteRange> outputs, FaultInjector& faults)
    : tile_(tile), memory_(memory), inputs_(inputs), outputs_(outputs), faults_(faults) {}

void TileView::read_bytes(std::uint32_t address, std::span<std::uint8_t> out) const {
    if (!covers(inputs_, address, out.size()) && !covers(outputs_, address, out.size())) {
        note_violation(address);
        std::fill(out.begin(), out.end(), std::uint8_t{0});
        return;
    }
    memory_.read(address, out);
}

void TileView::write_bytes(std::uint32_t address, std::span<const std::uint8_t> data) {
    if (!covers(outputs_, address, data.size())) {
        note_violation(address);
        return;
    }
    memory_.write(address, data);
}

void TileView::note_violation(std::uint32_t address) const {
    if (!violation_) {
        violation_ = ipu_exchange::ExchangeError::Address{address};
    }
}

bool TileView::fault_injected(Fault fault) const {
    if (!faults_.is(fault)) {
        return false;
    }
    faults_.report("applied by a codelet on tile " + std::to_string(tile_));
    return true;
}

}  // namespace ipu_sim
