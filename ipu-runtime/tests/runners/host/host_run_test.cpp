#include "host_run.hpp"

#include <gtest/gtest.h>

namespace ipu_host_runner {
namespace {

using ipu_sim::Fault;

struct Outcome {
    ipu_runner::RunnerOutcome outcome;
    std::vector<std::string> fault_reports;
};

Outcome run_on_device(const HostSettings& settings, Fault fault, std::uint32_t jitter_us = 0) {
    Outcome result{std::string(), {}};
    ipu_sim::Device device({
        .jitter = {.max_us = jitter_us, .seed = 11},
        .fault = fault,
        .fault_sink = [&](std::string_view line) { result.fault_reports.emplace_back(line); },
    });
    result.outcome = run_host_scenario(build_host_scenario(settings), device);
    return result;
}

const HostSettings local{{0}, 1024, 0, HostSource::host_write, HostPath::direct, false};
const HostSettings high_address{{100}, 65536, 0x60000, HostSource::host_write, HostPath::direct,
                                false};
const HostSettings compute_relay{{0}, 4, 0, HostSource::host_write, HostPath::compute_relay, false};
const HostSettings initialized_relay{{0}, 1024, 0, HostSource::device_init, HostPath::relay, false};
const HostSettings several_tiles{{1471, 274, 2},   64,   0, HostSource::host_write,
                                 HostPath::direct, false};

TEST(HostRun, PassesOnAHealthyDeviceWithAndWithoutJitter) {
    for (const HostSettings& settings :
         {local, high_address, compute_relay, initialized_relay, several_tiles}) {
        for (const std::uint32_t jitter_us : {0u, 250u}) {
            const Outcome result = run_on_device(settings, Fault::None, jitter_us);
            ASSERT_TRUE(result.outcome.has_value()) << result.outcome.error().line;
            EXPECT_TRUE(result.fault_reports.empty());
        }
    }
}

TEST(HostRun, InjectedFaultsEndInAMismatchNamingTheCheck) {
    const struct {
        const HostSettings* settings;
        Fault fault;
        std::string_view check;
    } cases[] = {
        {&local, Fault::H2dPacketDrop, "D2H of the first H2D"},
        {&local, Fault::H2dPacketDuplicate, "D2H of the tile under test"},
        {&local, Fault::H2dLateLanding, "D2H of the first H2D"},
        {&local, Fault::RouteLaneStuck, "host buffer range sent by the tile"},
        {&high_address, Fault::SramAddressAlias, "D2H of the first H2D"},
        {&several_tiles, Fault::RouteRowStuck, "host buffer range sent by the tile"},
        {&compute_relay, Fault::ComputeBitFlip, "D2H of the tile under test"},
        {&compute_relay, Fault::SkippedSync, "D2H of the relay tile"},
        {&initialized_relay, Fault::ExchangeDrop, "D2H of the relay tile"},
        {&initialized_relay, Fault::ExchangeBitFlip, "D2H of the relay tile"},
    };
    for (const auto& c : cases) {
        const Outcome result = run_on_device(*c.settings, c.fault);
        const std::string name(ipu_sim::fault_name(c.fault));
        ASSERT_FALSE(result.outcome.has_value()) << name << " went unnoticed";
        EXPECT_EQ(result.outcome.error().status, ipu_runner::ExitStatus::failed) << name;
        EXPECT_TRUE(result.outcome.error().line.starts_with(c.check))
            << name << ": " << result.outcome.error().line;
    }
}

}  // namespace
}  // namespace ipu_host_runner
