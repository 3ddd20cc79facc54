#include "ipu_exchange/exchange_error.hpp"

#include "ipu_text/debug_text.hpp"

namespace ipu_exchange {
namespace {

struct DebugForm {
    std::string operator()(ExchangeError::Tile e) const {
        return "Tile(" + std::to_string(e.tile) + ")";
    }
    std::string operator()(ExchangeError::DuplicateTile) const { return "DuplicateTile"; }
    std::string operator()(ExchangeError::Count e) const {
        return "Count(" + std::to_string(e.count) + ")";
    }
    std::string operator()(ExchangeError::ReceiverSet) const { return "ReceiverSet"; }
    std::string operator()(ExchangeError::Schedule e) const {
        return "Schedule(" + ipu_text::debug_quoted(e.conflict) + ")";
    }
    std::string operator()(ExchangeError::Address e) const {
        return "Address(" + std::to_string(e.address) + ")";
    }
    std::string operator()(ExchangeError::HostPacket) const { return "HostPacket"; }
};

struct SamePayload {
    bool operator()(ExchangeError::Tile a, ExchangeError::Tile b) const { return a.tile == b.tile; }
    bool operator()(ExchangeError::Count a, ExchangeError::Count b) const {
        return a.count == b.count;
    }
    bool operator()(ExchangeError::Schedule a, ExchangeError::Schedule b) const {
        return a.conflict == b.conflict;
    }
    bool operator()(ExchangeError::Address a, ExchangeError::Address b) const {
        return a.address == b.address;
    }
    template <typename A, typename B>
    bool operator()(A, B) const {
        return std::is_same_v<A, B>;
    }
};

}  // namespace

std::string ExchangeError::debug() const {
    return std::visit(DebugForm{}, value_);
}

bool operator==(const ExchangeError& left, const ExchangeError& right) {
    return std::visit(SamePayload{}, left.value_, right.value_);
}

std::ostream& operator<<(std::ostream& out, const ExchangeError& error) {
    return out << error.debug();
}

}  // namespace ipu_exchange
