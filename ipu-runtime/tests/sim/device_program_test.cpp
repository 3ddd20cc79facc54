#include <gtest/gtest.h>

#include <vector>

#include "ipu_sim/device.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeError;
using ipu_exchange::ExchangeSchedule;
using ipu_exchange::ExchangeTransfer;

ExchangeSchedule compiled(std::vector<ExchangeTransfer> transfers) {
    auto schedule = ExchangeSchedule::compile(std::move(transfers));
    EXPECT_TRUE(schedule.has_value()) << schedule.error();
    return schedule.value_or(ExchangeSchedule());
}

std::vector<std::uint8_t> bytes_of(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

// Writes `value` as a u32 at `address`: a codelet with no inputs.
Codelet store_u32(std::uint16_t tile, std::uint32_t address, std::uint32_t value) {
    return Codelet{
        .kernel = "StoreU32",
        .tile = tile,
        .outputs = {{address, 4}},
        .cost_class = CostClass::Copy,
        .work = 4,
        .body = [=](TileView& view) { view.store<std::uint32_t>(address, value); },
    };
}

TEST(DeviceProgram, CyclesOfASmallProgramFollowTheCostTable) {
    const std::uint16_t a = 0, b = 70, other = 500;
    Superstep step{
        .operation = "known costs",
        .compute = {Codelet{
                        .kernel = "AddA", .tile = a, .cost_class = CostClass::F32Add, .work = 10},
                    Codelet{
                        .kernel = "CopyB", .tile = b, .cost_class = CostClass::Copy, .work = 64}},
        .exchange = compiled({{a, 0, 8, {{b, 0}}}}),
    };
    const std::uint64_t compute_a = 16 + 5, compute_b = 16 + 8;
    ASSERT_EQ(codelet_cycles(CostClass::F32Add, 10), compute_a);
    ASSERT_EQ(codelet_cycles(CostClass::Copy, 64), compute_b);
    const std::uint64_t latency = ipu_exchange::exchange_latency_cycles(a, b);
    const std::uint64_t exchange = latency + 2;  // 8 bytes take 2 cycles to send

    Device device;
    const auto cycles = device.run(Program{{step}});
    ASSERT_TRUE(cycles.has_value());
    const std::uint64_t total = compute_b + chip_sync_cycles + exchange;
    EXPECT_EQ(cycles->start_cycle, 0u);
    EXPECT_EQ(cycles->end_cycle, total);

    EXPECT_EQ(device.tile_cycles(a),
              (TileCycles{compute_a, 2, chip_sync_cycles, compute_b - compute_a + latency}));
    EXPECT_EQ(device.tile_cycles(b), (TileCycles{compute_b, exchange, chip_sync_cycles, 0}));
    EXPECT_EQ(device.tile_cycles(other),
              (TileCycles{0, 0, chip_sync_cycles, compute_b + exchange}));
    for (std::uint16_t tile = 0; tile < 1472; ++tile) {
        ASSERT_EQ(device.tile_cycles(tile).total(), total) << "tile " << tile;
    }

    const auto steps = device.steps(other);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].kind, StepKind::Idle);
    EXPECT_EQ(steps[1].kind, StepKind::Synchronization);
    EXPECT_EQ(steps[1].start_cycle, compute_b);
    EXPECT_EQ(steps[2].kind, StepKind::Idle);
    EXPECT_EQ(steps[2].end_cycle, total);
    const auto b_steps = device.steps(b);
    ASSERT_EQ(b_steps.size(), 3u);
    EXPECT_EQ(b_steps[0].kind, StepKind::Compute);
    EXPECT_EQ(b_steps[0].kernel, "CopyB");
    EXPECT_EQ(b_steps[0].operation, "known costs");
    EXPECT_EQ(b_steps[2].kind, StepKind::Exchange);
    EXPECT_EQ(b_steps[2].metadata[1], (StepMetadata{"bytes received", "8"}));
    for (std::uint32_t i = 0; i < b_steps.size(); ++i) {
        EXPECT_EQ(b_steps[i].local_index, i);
        EXPECT_EQ(b_steps[i].epoch, 0u);
        EXPECT_EQ(b_steps[i].phase, 0u);
    }

    ASSERT_TRUE(device.run(Program{{Superstep{.operation = "second"}, Superstep{}}}).has_value());
    const auto later = device.steps(b);
    ASSERT_EQ(later.size(), 5u);
    EXPECT_EQ(later[3].start_cycle, total);
    EXPECT_EQ(later[4].phase, 1u);
    EXPECT_EQ(later[4].epoch, 1u);
    EXPECT_EQ(later[4].local_index, 1u);
    EXPECT_EQ(device.cycle(), total + 2 * chip_sync_cycles);
}

TEST(DeviceProgram, TurningStepRecordsOffKeepsTheTotals) {
    const Superstep step{.compute = {store_u32(8, 0, 1)},
                         .exchange = compiled({{8, 0, 4, {{9, 0}}}})};
    Device recording;
    Device silent(DeviceConfig{.record_steps = false});
    ASSERT_TRUE(recording.run(Program{{step}}).has_value());
    ASSERT_TRUE(silent.run(Program{{step}}).has_value());
    EXPECT_TRUE(silent.steps(9).empty());
    EXPECT_FALSE(recording.steps(9).empty());
    for (const std::uint16_t tile : {std::uint16_t{0}, std::uint16_t{8}, std::uint16_t{9}}) {
        EXPECT_EQ(silent.tile_cycles(tile), recording.tile_cycles(tile));
    }
}

TEST(DeviceProgram, MulticastReachesEveryOtherTileFromOneSend) {
    Device device;
    const auto data = bytes_of({1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(device.host_write(700, 32, data).has_value());
    device.fence();
    ExchangeTransfer fanout{700, 32, 9, {}};
    for (std::uint16_t tile = 0; tile < 1472; ++tile) {
        if (tile != 700) {
            fanout.receivers.push_back({tile, 64});
        }
    }
    ASSERT_TRUE(device.run(Program{{Superstep{.exchange = compiled({fanout})}}}).has_value());
    for (std::uint16_t tile = 0; tile < 1472; ++tile) {
        if (tile != 700) {
            ASSERT_EQ(device.host_read(tile, 64, 9), data) << "tile " << tile;
        }
    }
    EXPECT_EQ(device.tile_cycles(700).exchange, ipu_exchange::exchange_send_cycles(9));
}

TEST(DeviceProgram, ReceiverSendsWhatItHeldWhenThePhaseStarted) {
    Device device;
    ASSERT_TRUE(device.host_write(10, 0, bytes_of({1, 1, 1, 1})).has_value());
    ASSERT_TRUE(device.host_write(20, 0, bytes_of({2, 2, 2, 2})).has_value());
    device.fence();
    // 10 multicasts to 20 and 30 while 20 sends the same range on to 40.
    const auto exchange = compiled({{10, 0, 4, {{20, 0}, {30, 0}}}, {20, 0, 4, {{40, 0}}}});
    ASSERT_TRUE(device.run(Program{{Superstep{.exchange = exchange}}}).has_value());
    EXPECT_EQ(device.host_read(20, 0, 4), bytes_of({1, 1, 1, 1}));
    EXPECT_EQ(device.host_read(30, 0, 4), bytes_of({1, 1, 1, 1}));
    EXPECT_EQ(device.host_read(40, 0, 4), bytes_of({2, 2, 2, 2}));
}

TEST(DeviceProgram, ExchangeCarriesFreshlyComputedData) {
    Device device;
    const Superstep step{
        .compute = {store_u32(5, 0, 0xDEADBEEF)},
        .exchange = compiled({{5, 0, 4, {{6, 16}}}}),
    };
    ASSERT_TRUE(device.run(Program{{step}}).has_value());
    EXPECT_EQ(device.host_read(6, 16, 4), bytes_of({0xEF, 0xBE, 0xAD, 0xDE}));
}

TEST(DeviceProgram, CodeletsReadAndWriteTypedElements) {
    Device device;
    const Codelet mixed{
        .kernel = "Typed",
        .tile = 3,
        .outputs = {{0, 16}},
        .body =
            [](TileView& view) {
                view.store<float>(0, 1.5f);
                view.store<_Float16>(4, static_cast<_Float16>(-2.0f));
                const std::vector<std::uint32_t> words{7, 9};
                view.write<std::uint32_t>(8, words);
                const float f = view.load<float>(0);
                view.store<std::uint8_t>(6, static_cast<std::uint8_t>(f * 2));
            },
    };
    ASSERT_TRUE(device.run(Program{{Superstep{.compute = {mixed}}}}).has_value());
    EXPECT_EQ(device.host_read(3, 0, 16),
              bytes_of({0, 0, 0xC0, 0x3F, 0x00, 0xC0, 3, 0xA5, 7, 0, 0, 0, 9, 0, 0, 0}));
}

TEST(DeviceProgram, CodeletOutsideItsDeclaredRangesFailsTheRun) {
    const struct {
        const char* name;
        std::function<void(TileView&)> body;
        std::uint32_t address;
    } cases[] = {
        {"write to an input", [](TileView& v) { v.store<std::uint8_t>(0, 1); }, 0},
        {"write past an output", [](TileView& v) { v.store<std::uint32_t>(102, 1); }, 102},
        {"read outside every range", [](TileView& v) { (void)v.load<float>(200); }, 200},
        {"range straddles two ranges", [](TileView& v) { (void)v.read<std::uint8_t>(6, 4); }, 6},
    };
    for (const auto& c : cases) {
        Device device;
        const Codelet codelet{
            .kernel = "Bad", .tile = 1, .inputs = {{0, 8}}, .outputs = {{100, 4}}, .body = c.body};
        const auto run = device.run(Program{{Superstep{.compute = {codelet}}}});
        ASSERT_FALSE(run.has_value()) << c.name;
        EXPECT_EQ(run.error(), ExchangeError::Address{c.address}) << c.name;
    }
}

TEST(DeviceProgram, RefusesAProgramBeforeRunningAnyOfIt) {
    const std::uint32_t sram = c600_tile_sram_bytes;
    const struct {
        const char* name;
        Superstep bad;
        ExchangeError expected;
    } cases[] = {
        {"codelet tile", {.compute = {Codelet{.tile = 1472}}}, ExchangeError::Tile{1472}},
        {"codelet output",
         {.compute = {Codelet{.outputs = {{sram - 2, 4}}}}},
         ExchangeError::Address{sram - 2}},
        {"codelet input",
         {.compute = {Codelet{.inputs = {{0xFFFFFFF0, 32}}}}},
         ExchangeError::Address{0xFFFFFFF0}},
        {"host send tile",
         {.host_sends = {{.tile = 2000, .length = 4}}},
         ExchangeError::Tile{2000}},
        {"host send source",
         {.host_sends = {{.address = sram, .length = 4}}},
         ExchangeError::Address{sram}},
        {"host send to no buffer",
         {.host_sends = {{.length = 4, .buffer = {7}}}},
         ExchangeError::ReceiverSet{}},
        {"empty host send", {.host_sends = {{.length = 0}}}, ExchangeError::Count{0}},
        {"host send past the buffer",
         {.host_sends = {{.length = 8, .buffer_offset = 60}}},
         ExchangeError::Count{8}},
        {"overlapping host sends",
         {.host_sends = {{.tile = 1, .length = 8}, {.tile = 2, .length = 8, .buffer_offset = 4}}},
         ExchangeError::Schedule{"overlapping host buffer writes in one phase"}},
    };
    for (const auto& c : cases) {
        Device device;
        device.create_host_buffer(64);
        const Superstep first{.compute = {store_u32(9, 0, 1)}};
        const auto run = device.run(Program{{first, c.bad}});
        ASSERT_FALSE(run.has_value()) << c.name;
        EXPECT_EQ(run.error(), c.expected) << c.name;
        EXPECT_EQ(device.resident_bytes(), 0u) << c.name << ": the first superstep ran";
        EXPECT_EQ(device.cycle(), 0u) << c.name;
    }
}

TEST(DeviceProgram, SameProgramGivesSameBytesAndCycles) {
    const auto run_once = [] {
        Device device;
        std::vector<ExchangeTransfer> permutation;
        for (std::uint16_t tile = 0; tile < 1472; ++tile) {
            permutation.push_back(
                {tile, 0, 4, {{static_cast<std::uint16_t>((tile * 5 + 1) % 1472), 4}}});
        }
        Superstep step{.exchange = compiled(permutation)};
        for (std::uint16_t tile = 0; tile < 1472; tile += 7) {
            step.compute.push_back(store_u32(tile, 0, tile * 2654435761u));
        }
        EXPECT_TRUE(device.run(Program{{step}}).has_value());
        std::vector<std::uint8_t> all;
        std::vector<TileCycles> cycles;
        for (std::uint16_t tile = 0; tile < 1472; ++tile) {
            const auto bytes = device.host_read(tile, 0, 8).value();
            all.insert(all.end(), bytes.begin(), bytes.end());
            cycles.push_back(device.tile_cycles(tile));
        }
        return std::pair(all, cycles);
    };
    EXPECT_EQ(run_once(), run_once());
}

}  // namespace
}  // namespace ipu_sim
