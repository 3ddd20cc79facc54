#pragma once

#include <string_view>

#include "ipu_sim/device_config.hpp"
#include "ipu_sim/fault.hpp"

namespace ipu_sim {

// The device's one configured fault: which it is, which one-shot faults have
// already been spent, and the report of the fault the first time it fires.
class FaultInjector {
  public:
    FaultInjector(Fault fault, FaultSink sink);

    Fault fault() const { return fault_; }

    // True when `fault` is the configured fault.
    bool is(Fault fault) const { return fault_ == fault; }

    // True exactly once in the device's life, when `fault` is configured: the
    // caller then applies the fault and reports it.
    bool fire_once(Fault fault);

    // Reports the configured fault with `detail`; only the first call writes a line.
    void report(std::string_view detail);

    // True once the fault has been reported.
    bool reported() const { return reported_; }

  private:
    Fault fault_;
    FaultSink sink_;
    bool spent_ = false;
    bool reported_ = false;
};

// Flips the bit that injected data-corruption faults flip: bit 6 of the byte at
// min(3, size - 1), which lands in the exponent of a 32-bit or 16-bit float and
// changes any byte value. Does nothing to an empty span.
void flip_fault_bit(std::span<std::uint8_t> bytes);

}  // namespace ipu_sim
