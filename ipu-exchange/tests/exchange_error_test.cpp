#include "ipu_exchange/exchange_error.hpp"

#include <gtest/gtest.h>

namespace ipu_exchange {
namespace {

TEST(ExchangeError, DebugFormsNameTheVariantAndItsPayload) {
    const struct {
        ExchangeError error;
        std::string_view debug;
    } cases[] = {
        {ExchangeError::Tile{1472}, "Tile(1472)"},
        {ExchangeError::Tile{65535}, "Tile(65535)"},
        {ExchangeError::DuplicateTile{}, "DuplicateTile"},
        {ExchangeError::Count{0}, "Count(0)"},
        {ExchangeError::Count{4294967295u}, "Count(4294967295)"},
        {ExchangeError::ReceiverSet{}, "ReceiverSet"},
        {ExchangeError::Schedule{"overlapping \"writes\""},
         R"(Schedule("overlapping \"writes\""))"},
        {ExchangeError::Address{638976}, "Address(638976)"},
        {ExchangeError::HostPacket{}, "HostPacket"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.debug(), c.debug);
    }
}

TEST(ExchangeError, EqualityComparesVariantAndPayload) {
    EXPECT_EQ(ExchangeError(ExchangeError::Tile{3}), ExchangeError(ExchangeError::Tile{3}));
    EXPECT_NE(ExchangeError(ExchangeError::Tile{3}), ExchangeError(ExchangeError::Tile{4}));
    EXPECT_NE(ExchangeError(ExchangeError::Count{3}), ExchangeError(ExchangeError::Address{3}));
    EXPECT_EQ(ExchangeError(ExchangeError::HostPacket{}),
              ExchangeError(ExchangeError::HostPacket{}));
}

}  // namespace
}  // namespace ipu_exchange
