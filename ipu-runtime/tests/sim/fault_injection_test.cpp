#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ipu_sim/device.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeSchedule;
using ipu_exchange::ExchangeTransfer;
using Bytes = std::vector<std::uint8_t>;

const Bytes first_bytes{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
const Bytes second_bytes{0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xF0, 0x01};

void write_and_fence(Device& device, std::uint16_t tile, std::uint32_t address, const Bytes& data) {
    ASSERT_TRUE(device.host_write(tile, address, data).has_value());
    device.fence();
}

Bytes read(Device& device, std::uint16_t tile, std::uint32_t address) {
    return device.host_read(tile, address, 8).value_or(Bytes{});
}

Superstep exchange_step(std::vector<ExchangeTransfer> transfers) {
    return Superstep{.exchange = ExchangeSchedule::compile(std::move(transfers)).value()};
}

Codelet store_second_bytes(std::uint16_t tile, std::uint32_t address) {
    return Codelet{
        .kernel = "Store", .tile = tile, .outputs = {{address, 8}}, .body = [=](TileView& view) {
            view.write<std::uint8_t>(address, second_bytes);
        }};
}

void run(Device& device, Superstep step) {
    ASSERT_TRUE(device.run(Program{{std::move(step)}}).has_value());
}

// Two tiles written, then both read back; a misrouted packet mixes them up.
Bytes two_tile_round_trip(Device& device, std::uint16_t a, std::uint16_t b) {
    EXPECT_TRUE(device.host_write(a, 0, first_bytes).has_value());
    EXPECT_TRUE(device.host_write(b, 0, second_bytes).has_value());
    device.fence();
    Bytes both = read(device, a, 0);
    const Bytes other = read(device, b, 0);
    both.insert(both.end(), other.begin(), other.end());
    return both;
}

struct FaultScenario {
    Fault fault;
    Bytes (*observe)(Device&);
};

const FaultScenario scenarios[] = {
    {Fault::RouteLaneStuck, [](Device& d) { return two_tile_round_trip(d, 0, 2); }},
    {Fault::RouteRowStuck, [](Device& d) { return two_tile_round_trip(d, 0, 64); }},
    {Fault::H2dPacketDrop,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         return read(d, 1, 0);
     }},
    {Fault::H2dPacketDuplicate,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         run(d, Superstep{.compute = {store_second_bytes(1, 0)}});
         return read(d, 1, 0);
     }},
    {Fault::H2dLateLanding,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         run(d, exchange_step({{1, 0, 8, {{2, 0}}}}));
         return read(d, 2, 0);
     }},
    {Fault::ExchangeDrop,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         run(d, exchange_step({{1, 0, 8, {{2, 0}}}}));
         return read(d, 2, 0);
     }},
    {Fault::ExchangeBitFlip,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         run(d, exchange_step({{1, 0, 8, {{2, 0}}}}));
         return read(d, 2, 0);
     }},
    {Fault::MulticastReceiverDrop,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         run(d, exchange_step({{1, 0, 8, {{2, 0}, {3, 0}}}}));
         return read(d, 3, 0);
     }},
    {Fault::SramAddressAlias,
     [](Device& d) {
         write_and_fence(d, 1, 0x100, first_bytes);
         write_and_fence(d, 1, 0x40100, second_bytes);
         return read(d, 1, 0x100);
     }},
    {Fault::ComputeBitFlip,
     [](Device& d) {
         run(d, Superstep{.compute = {store_second_bytes(1, 0)}});
         return read(d, 1, 0);
     }},
    {Fault::SkippedSync,
     [](Device& d) {
         write_and_fence(d, 1, 0, first_bytes);
         Superstep step = exchange_step({{1, 0, 8, {{2, 0}}}});
         step.compute.push_back(store_second_bytes(1, 0));
         run(d, std::move(step));
         return read(d, 2, 0);
     }},
    {Fault::Fp16Accumulation,
     [](Device& d) {
         Codelet ask = store_second_bytes(1, 0);
         ask.body = [](TileView& view) {
             view.store<std::uint8_t>(0, view.fault_injected(Fault::Fp16Accumulation) ? 16 : 32);
         };
         run(d, Superstep{.compute = {ask}});
         return read(d, 1, 0);
     }},
};

TEST(FaultInjection, EachDeviceFaultChangesWhatTheHostSeesAndIsReportedOnce) {
    for (const FaultScenario& scenario : scenarios) {
        const std::string name(fault_name(scenario.fault));
        std::vector<std::string> reports;
        Device sound(
            DeviceConfig{.fault_sink = [&](std::string_view line) { reports.emplace_back(line); }});
        Device faulty(
            DeviceConfig{.fault = scenario.fault,
                         .fault_sink = [&](std::string_view line) { reports.emplace_back(line); }});
        const Bytes expected = scenario.observe(sound);
        ASSERT_TRUE(reports.empty()) << name;
        EXPECT_NE(scenario.observe(faulty), expected) << name;
        ASSERT_EQ(reports.size(), 1u) << name;
        EXPECT_TRUE(reports[0].starts_with("ipu-sim: injected fault " + name + ": ")) << reports[0];
        scenario.observe(faulty);
        EXPECT_EQ(reports.size(), 1u) << name << " reported twice";
    }
}

TEST(FaultInjection, LaneStuckReportNamesBothTiles) {
    std::string report;
    Device device(DeviceConfig{.fault = Fault::RouteLaneStuck,
                               .fault_sink = [&](std::string_view line) { report = line; }});
    write_and_fence(device, 0, 0, first_bytes);
    EXPECT_EQ(report,
              "ipu-sim: injected fault route-lane-stuck: packet for tile 0 delivered to tile 2");
}

TEST(FaultInjection, RunnerAppliedFaultsAreReportedThroughTheDevice) {
    std::vector<std::string> reports;
    const auto sink = [&](std::string_view line) { reports.emplace_back(line); };
    Device sound(DeviceConfig{.fault_sink = sink});
    sound.report_fault("nothing to report");
    EXPECT_TRUE(reports.empty());

    Device device(DeviceConfig{.fault = Fault::ProfileZeroClock, .fault_sink = sink});
    EXPECT_EQ(device.fault(), Fault::ProfileZeroClock);
    device.report_fault("profile written with clock 0");
    device.report_fault("again");
    EXPECT_EQ(reports,
              std::vector<std::string>{
                  "ipu-sim: injected fault profile-zero-clock: profile written with clock 0"});
}

}  // namespace
}  // namespace ipu_sim
