#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

namespace ipu_exchange {

// The error value of the ipu_exchange library: one of seven variants, in this
// order. A value owns no memory: payloads are numbers or a view of static text.
class ExchangeError {
  public:
    // A tile number that names no tile.
    struct Tile {
        std::uint16_t tile;
    };
    // A tile named twice where each tile may appear once.
    struct DuplicateTile {};
    // A count or length that cannot be used.
    struct Count {
        std::uint32_t count;
    };
    // A set of receivers that is empty or otherwise unusable.
    struct ReceiverSet {};
    // A conflict in a schedule, described by a static text.
    struct Schedule {
        std::string_view conflict;
    };
    // A memory address outside the addressable range.
    struct Address {
        std::uint32_t address;
    };
    // A host packet that cannot be delivered.
    struct HostPacket {};

    using Variant =
        std::variant<Tile, DuplicateTile, Count, ReceiverSet, Schedule, Address, HostPacket>;

    template <typename Alternative>
    requires std::is_constructible_v<Variant, Alternative>
    constexpr ExchangeError(Alternative alternative) : value_(alternative) {}

    const Variant& value() const { return value_; }

    // The one-line debug form, for example `Tile(1472)`, `DuplicateTile` or
    // `Schedule("overlapping writes")`.
    std::string debug() const;

    friend bool operator==(const ExchangeError& left, const ExchangeError& right);

  private:
    Variant value_;
};

std::ostream& operator<<(std::ostream& out, const ExchangeError& error);

}  // namespace ipu_exchange
