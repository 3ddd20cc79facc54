#include "ipu_exchange/exchange_schedule.hpp"

#include <gtest/gtest.h>

#include <string>

#include "ipu_exchange/c600_sram.hpp"

namespace ipu_exchange {
namespace {

ExchangeTransfer transfer(std::uint16_t sender, std::uint32_t source, std::uint32_t length,
                          std::vector<ExchangeReceiver> receivers) {
    return ExchangeTransfer{sender, source, length, std::move(receivers)};
}

TEST(ExchangeSchedule, RefusesEachKindOfBadTransfer) {
    const std::uint32_t sram = c600_tile_sram_bytes;
    const struct {
        std::string name;
        std::vector<ExchangeTransfer> transfers;
        ExchangeError expected;
    } cases[] = {
        {"sender not a tile", {transfer(1472, 0, 4, {{1, 0}})}, ExchangeError::Tile{1472}},
        {"receiver not a tile",
         {transfer(0, 0, 4, {{1, 0}, {65535, 0}})},
         ExchangeError::Tile{65535}},
        {"zero length", {transfer(0, 0, 0, {{1, 0}})}, ExchangeError::Count{0}},
        {"longer than SRAM", {transfer(0, 0, sram + 1, {{1, 0}})}, ExchangeError::Count{sram + 1}},
        {"source past SRAM end",
         {transfer(0, sram - 3, 4, {{1, 0}})},
         ExchangeError::Address{sram - 3}},
        {"source address wraps",
         {transfer(0, 0xFFFFFFFF, 4, {{1, 0}})},
         ExchangeError::Address{0xFFFFFFFF}},
        {"receiver range past SRAM end",
         {transfer(0, 0, 8, {{1, 0}, {2, sram - 4}})},
         ExchangeError::Address{sram - 4}},
        {"no receivers", {transfer(0, 0, 4, {})}, ExchangeError::ReceiverSet{}},
        {"sender receives its own send",
         {transfer(5, 0, 4, {{1, 0}, {5, 64}})},
         ExchangeError::ReceiverSet{}},
        {"receiver twice",
         {transfer(0, 0, 4, {{1, 0}, {2, 0}, {1, 64}})},
         ExchangeError::DuplicateTile{}},
        {"sender among its receivers outranks a duplicate",
         {transfer(5, 0, 4, {{1, 0}, {1, 8}, {5, 64}})},
         ExchangeError::ReceiverSet{}},
        {"two transfers write overlapping bytes",
         {transfer(0, 0, 8, {{1, 100}}), transfer(2, 0, 8, {{1, 107}})},
         ExchangeError::Schedule{"overlapping receiver writes in one phase"}},
        {"a multicast overlaps a later write",
         {transfer(0, 0, 8, {{1, 0}, {2, 0}, {3, 0}}), transfer(4, 0, 1, {{3, 7}})},
         ExchangeError::Schedule{"overlapping receiver writes in one phase"}},
        {"first bad transfer wins",
         {transfer(0, 0, 4, {{1, 0}}), transfer(0, 0, 0, {})},
         ExchangeError::Count{0}},
    };
    for (const auto& c : cases) {
        const auto schedule = ExchangeSchedule::compile(c.transfers);
        ASSERT_FALSE(schedule.has_value()) << c.name;
        EXPECT_EQ(schedule.error(), c.expected) << c.name << ": got " << schedule.error();
    }
}

TEST(ExchangeSchedule, AcceptsEdgesOfSramAndTouchingRanges) {
    const auto schedule = ExchangeSchedule::compile({
        transfer(1471, 0, c600_tile_sram_bytes, {{0, 0}}),
        transfer(2, 0, 4, {{3, 0}}),
        transfer(4, 0, 4, {{3, 4}}),
    });
    ASSERT_TRUE(schedule.has_value()) << schedule.error();
    EXPECT_EQ(schedule->transfers().size(), 3u);
}

TEST(ExchangeSchedule, ReceiverMaySendFromTheRangeItReceivesInTheSamePhase) {
    // Tile 1 receives into [0, 16) and sends [0, 16) onwards; sends read the memory
    // as it was at the start of the phase, so this is a valid schedule.
    const auto schedule = ExchangeSchedule::compile({
        transfer(0, 0, 16, {{1, 0}, {2, 0}}),
        transfer(1, 0, 16, {{3, 0}}),
    });
    ASSERT_TRUE(schedule.has_value()) << schedule.error();
}

TEST(ExchangeSchedule, LatencyGrowsWithRowAndColumnDistance) {
    EXPECT_EQ(exchange_latency_cycles(0, 0), exchange_base_latency_cycles);
    EXPECT_EQ(exchange_latency_cycles(0, 2), exchange_base_latency_cycles + 2);
    EXPECT_EQ(exchange_latency_cycles(0, 64), exchange_base_latency_cycles + 1);
    EXPECT_EQ(exchange_latency_cycles(22 * 64 + 63, 0), exchange_base_latency_cycles + 22 + 63);
    EXPECT_EQ(exchange_latency_cycles(5 * 64 + 3, 2 * 64 + 10),
              exchange_latency_cycles(2 * 64 + 10, 5 * 64 + 3));
    EXPECT_EQ(exchange_send_cycles(1), 1u);
    EXPECT_EQ(exchange_send_cycles(8), 2u);
    EXPECT_EQ(exchange_send_cycles(9), 3u);
}

TEST(ExchangeSchedule, MulticastCostsOneSendAndEndsAtTheFarthestReceiver) {
    const std::uint16_t far = 22 * 64 + 63;
    const auto schedule = ExchangeSchedule::compile({transfer(0, 0, 64, {{1, 0}, {far, 0}})});
    ASSERT_TRUE(schedule.has_value());
    const TimedTransfer& timed = schedule->transfers()[0];
    EXPECT_EQ(timed.start_cycle, 0u);
    EXPECT_EQ(timed.send_cycles, 16u);
    EXPECT_EQ(timed.end_cycle, exchange_latency_cycles(0, far) + 16u);
    EXPECT_EQ(schedule->cycles(), timed.end_cycle);
}

TEST(ExchangeSchedule, SlotsSerialiseOnBusyPortsOnly) {
    const auto schedule = ExchangeSchedule::compile({
        transfer(0, 0, 40, {{64, 0}}),    // sender 0: cycles 0-10
        transfer(0, 40, 40, {{128, 0}}),  // sender 0 again: waits for its port
        transfer(2, 0, 40, {{64, 40}}),   // receiver 64 busy until the first copy lands
        transfer(4, 0, 40, {{192, 0}}),   // independent: starts at once
    });
    ASSERT_TRUE(schedule.has_value());
    const auto timed = schedule->transfers();
    EXPECT_EQ(timed[0].start_cycle, 0u);
    EXPECT_EQ(timed[1].start_cycle, 10u);
    const std::uint32_t first_lands = exchange_latency_cycles(0, 64) + 10;
    EXPECT_EQ(timed[2].start_cycle, first_lands - exchange_latency_cycles(2, 64));
    EXPECT_EQ(timed[3].start_cycle, 0u);
    for (const TimedTransfer& t : timed) {
        EXPECT_LE(t.end_cycle, schedule->cycles());
    }
}

TEST(ExchangeSchedule, SameListGivesSameSchedule) {
    std::vector<ExchangeTransfer> transfers;
    for (std::uint16_t tile = 0; tile < 1472; ++tile) {
        transfers.push_back(
            transfer(tile, 0, 256, {{static_cast<std::uint16_t>((tile * 7 + 3) % 1472), 256}}));
    }
    const auto first = ExchangeSchedule::compile(transfers);
    const auto second = ExchangeSchedule::compile(transfers);
    ASSERT_TRUE(first.has_value() && second.has_value());
    ASSERT_EQ(first->cycles(), second->cycles());
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        EXPECT_EQ(first->transfers()[i].start_cycle, second->transfers()[i].start_cycle);
        EXPECT_EQ(first->transfers()[i].transfer, transfers[i]);
    }
}

TEST(ExchangeSchedule, EmptyPhaseTakesNoCycles) {
    const auto schedule = ExchangeSchedule::compile({});
    ASSERT_TRUE(schedule.has_value());
    EXPECT_TRUE(schedule->empty());
    EXPECT_EQ(schedule->cycles(), 0u);
    EXPECT_TRUE(ExchangeSchedule().empty());
}

}  // namespace
}  // namespace ipu_exchange
