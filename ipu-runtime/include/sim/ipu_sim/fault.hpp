#pragma once

#include <span>
#include <string_view>

namespace ipu_sim {

// The catalogue of misbehaviours the simulated device can be told to show, one at
// a time, so that the acceptance suite can prove it notices them. Each is a fault
// at one interface of the device; the device injects all but the last four itself:
//
// route-lane-stuck      host packets: lane bit of the route stuck at 1 (every packet).
// route-row-stuck       host packets: row bit 0 of the route stuck at 0 (every packet).
// h2d-packet-drop       the first H2D packet never lands.
// h2d-packet-duplicate  the first H2D packet lands a second time, at the end of the
//                       first program run after it landed, over newer data.
// h2d-late-landing      fence() does not wait; H2D packets land only at the end of the
//                       next program run, after the program has read memory.
// exchange-drop         the first transfer of the first non-empty exchange phase is lost.
// exchange-bit-flip     one bit of the first transfer's copy at its first receiver is
//                       flipped in flight (bit 6 of byte min(3, length - 1)).
// multicast-receiver-drop  the first multicast transfer skips its last receiver.
// sram-address-alias    tile SRAM ignores address bit 18: 0x40000-0x7ffff alias
//                       0x00000-0x3ffff on every access (host, codelet, exchange).
// compute-bit-flip      the first codelet that writes an output gets bit 6 of byte
//                       min(3, length - 1) of its first output range flipped.
// skipped-sync          in the first superstep where a transfer sends bytes that its
//                       sender computed in the same superstep, that transfer reads the
//                       sender's memory from before the compute phase.
// fp16-accumulation     codelets that ask (TileView::fault_injected) accumulate in FP16.
// profile-missing-tile, profile-missing-kind, profile-zero-clock
//                       applied by the profile writer of the runner, not by the device.
enum class Fault {
    None,
    RouteLaneStuck,
    RouteRowStuck,
    H2dPacketDrop,
    H2dPacketDuplicate,
    H2dLateLanding,
    ExchangeDrop,
    ExchangeBitFlip,
    MulticastReceiverDrop,
    SramAddressAlias,
    ComputeBitFlip,
    SkippedSync,
    Fp16Accumulation,
    ProfileMissingTile,
    ProfileMissingKind,
    ProfileZeroClock,
};

// The kebab-case name of a fault ("none" for Fault::None).
std::string_view fault_name(Fault fault);

// Every fault of the catalogue in declaration order, Fault::None excluded.
std::span<const Fault> all_faults();

}  // namespace ipu_sim
