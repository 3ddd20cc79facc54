#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/cost_table.hpp"
#include "ipu_sim/fault.hpp"

namespace ipu_sim {

class TileMemory;
class FaultInjector;
class CodeletRunner;

// `length` bytes of one tile's SRAM starting at `address`.
struct ByteRange {
    std::uint32_t address;
    std::uint32_t length;

    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// The element types a codelet may read and write, stored little-endian.
template <typename T>
concept TileElement = std::same_as<T, std::uint8_t> || std::same_as<T, std::uint32_t> ||
    std::same_as<T, float> || std::same_as<T, _Float16>;

// A codelet's window on its tile's SRAM while its body runs. It may read bytes of
// its declared input and output ranges and write bytes of its output ranges; an
// access that is not wholly inside one such range does nothing (reads yield zeros)
// and the device's run() then fails with Address(first address of that access).
// A view holds no pointer that outlives the body's call.
class TileView {
  public:
    TileView(const TileView&) = delete;
    TileView& operator=(const TileView&) = delete;

    // Physical number of the tile the codelet runs on.
    std::uint16_t tile() const { return tile_; }

    template <TileElement T>
    void read(std::uint32_t address, std::span<T> out) const {
        read_bytes(address, {reinterpret_cast<std::uint8_t*>(out.data()), out.size_bytes()});
    }

    template <TileElement T>
    std::vector<T> read(std::uint32_t address, std::size_t count) const {
        std::vector<T> values(count);
        read(address, std::span<T>(values));
        return values;
    }

    template <TileElement T>
    void write(std::uint32_t address, std::span<const T> values) {
        write_bytes(address,
                    {reinterpret_cast<const std::uint8_t*>(values.data()), values.size_bytes()});
    }

    template <TileElement T>
    T load(std::uint32_t address) const {
        T value{};
        read(address, std::span<T>(&value, 1));
        return value;
    }

    template <TileElement T>
    void store(std::uint32_t address, T value) {
        write(address, std::span<const T>(&value, 1));
    }

    // True when the device is injecting `fault` (reporting it the first time), for
    // faults that codelets apply themselves, such as Fault::Fp16Accumulation.
    bool fault_injected(Fault fault) const;

  private:
    friend class CodeletRunner;

    TileView(std::uint16_t tile, TileMemory& memory, std::span<const ByteRange> inputs,
             std::span<const ByteRange> outputs, FaultInjector& faults);

    void read_bytes(std::uint32_t address, std::span<std::uint8_t> out) const;
    void write_bytes(std::uint32_t address, std::span<const std::uint8_t> data);
    void note_violation(std::uint32_t address) const;

    std::uint16_t tile_;
    TileMemory& memory_;
    std::span<const ByteRange> inputs_;
    std::span<const ByteRange> outputs_;
    FaultInjector& faults_;
    mutable std::optional<ipu_exchange::ExchangeError> violation_;
};

// Work for one tile in a compute phase. `kernel` names it in step records. Its
// cycle cost is codelet_cycles(cost_class, work), from the device's one cost table.
// `body` (optional) computes the result through a TileView; it must be
// deterministic and may capture the runner's own state.
struct Codelet {
    std::string kernel{};
    std::uint16_t tile = 0;
    std::vector<ByteRange> inputs{};
    std::vector<ByteRange> outputs{};
    CostClass cost_class = CostClass::Copy;
    std::uint64_t work = 0;
    std::function<void(TileView&)> body{};
};

}  // namespace ipu_sim
