#include "fault_injector.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace ipu_sim {

FaultInjector::FaultInjector(Fault fault, FaultSink sink) : fault_(fault), sink_(std::move(sink)) {
    if (!sink_) {
        sink_ = [](std::string_view line) {
            std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
            std::fflush(stderr);
        };
    }
}

bool FaultInjector::fire_once(Fault fault) {
    if (fault_ != fault || spent_) {
        return false;
    }
    spent_ = true;
    return true;
}

void FaultInjector::report(std::string_view detail) {
    if (fault_ == Fault::None || reported_) {
        return;
    }
    reported_ = true;
    std::string line = "ipu-sim: injected fault ";
    line += fault_name(fault_);
    line += ": ";
    line += detail;
    sink_(line);
}

void flip_fault_bit(std::span<std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    bytes[std::min<std::size_t>(3, bytes.size() - 1)] ^= 0x40;
}

}  // namespace ipu_sim
