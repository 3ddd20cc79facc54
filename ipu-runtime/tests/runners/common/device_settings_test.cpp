#include "ipu_runner/device_settings.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../runner_endings.hpp"

namespace ipu_runner {
namespace {

using ipu_runner_testing::device_variables;
using ipu_runner_testing::Variables;
using ipu_sim::Fault;
using test_support::ScopedEnvironment;

constexpr std::uint64_t default_seed = ipu_sim::default_host_write_jitter_seed;

const std::string catalogue =
    "the faults are route-lane-stuck, route-row-stuck, h2d-packet-drop, h2d-packet-duplicate, "
    "h2d-late-landing, exchange-drop, exchange-bit-flip, multicast-receiver-drop, "
    "sram-address-alias, compute-bit-flip, skipped-sync, fp16-accumulation, "
    "profile-missing-tile, profile-missing-kind, profile-zero-clock";

Setting<ipu_sim::DeviceConfig> config_for(const Variables& variables) {
    const ScopedEnvironment environment(variables, device_variables);
    return device_config_setting();
}

TEST(DeviceSettings, UsableValuesReachTheConfig) {
    const struct {
        Variables variables;
        std::uint32_t max_us;
        std::uint64_t seed;
        Fault fault;
    } cases[] = {
        {{}, 0, default_seed, Fault::None},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "250"}}, 250, default_seed, Fault::None},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "0"}, {"IPU_HOST_WRITE_JITTER_SEED", "42"}},
         0,
         42,
         Fault::None},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "4294967294"},
          {"IPU_HOST_WRITE_JITTER_SEED", "18446744073709551615"}},
         4294967294u,
         18446744073709551615u,
         Fault::None},
        {{{"IPU_HOST_WRITE_JITTER_SEED", "0x6a09e667F3BCC909"}},
         0,
         0x6a09e667f3bcc909,
         Fault::None},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "250"}, {"IPU_SIM_FAULT", "exchange-drop"}},
         250,
         default_seed,
         Fault::ExchangeDrop},
    };
    for (const auto& c : cases) {
        const auto config = config_for(c.variables);
        ASSERT_TRUE(config.has_value()) << config.error().line();
        EXPECT_EQ(config->jitter.max_us, c.max_us);
        EXPECT_EQ(config->jitter.seed, c.seed);
        EXPECT_EQ(config->fault, c.fault);
        EXPECT_TRUE(config->record_steps);
    }
}

TEST(DeviceSettings, EveryCatalogueNameSelectsItsFault) {
    for (const Fault fault : ipu_sim::all_faults()) {
        const std::string name(ipu_sim::fault_name(fault));
        const auto config = config_for({{"IPU_SIM_FAULT", name}});
        ASSERT_TRUE(config.has_value()) << config.error().line();
        EXPECT_EQ(config->fault, fault) << name;
    }
}

// Device variables that are refused; the last one set is the one refused.
struct Refusal {
    Variables variables;
    std::string problem;
};

// The device's variables follow the grammar of every other runner setting: no
// leading zeros, no blanks, no empty values, "0x" in lower case.
TEST(DeviceSettings, RefusedValuesNameTheVariableAndTheValue) {
    const Refusal refusals[] = {
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "007"}}, "written with a leading zero"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", ""}}, "empty"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "4294967295"}},
         "above the largest allowed value 4294967294"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "-1"}}, "not an unsigned decimal number"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", " 5"}}, "not an unsigned decimal number"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "1ms"}}, "not an unsigned decimal number"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "5"}, {"IPU_HOST_WRITE_JITTER_SEED", "007"}},
         "written with a leading zero"},
        {{{"IPU_HOST_WRITE_JITTER_MAX_US", "5"},
          {"IPU_HOST_WRITE_JITTER_SEED", "18446744073709551616"}},
         "above the largest allowed value 18446744073709551615"},
        {{{"IPU_HOST_WRITE_JITTER_SEED", "0x"}}, "no digits after 0x"},
        {{{"IPU_HOST_WRITE_JITTER_SEED", "0X10"}}, "upper-case 0X prefix; write 0x"},
        {{{"IPU_HOST_WRITE_JITTER_SEED", "12\n"}}, "not an unsigned decimal number"},
        {{{"IPU_SIM_FAULT", "cosmic-ray"}}, "not a fault; " + catalogue},
        {{{"IPU_SIM_FAULT", ""}}, "not a fault; " + catalogue},
        {{{"IPU_SIM_FAULT", "none"}}, "not a fault; " + catalogue},
        {{{"IPU_SIM_FAULT", "Route-Lane-Stuck"}}, "not a fault; " + catalogue},
        // The jitter settings are read before the fault.
        {{{"IPU_SIM_FAULT", "cosmic-ray"}, {"IPU_HOST_WRITE_JITTER_SEED", "x"}},
         "not an unsigned decimal number"},
    };
    for (const Refusal& refusal : refusals) {
        const auto& [variable, value] = refusal.variables.back();
        const auto config = config_for(refusal.variables);
        ASSERT_FALSE(config.has_value()) << variable << "=" << value;
        EXPECT_EQ(config.error().variable, variable);
        EXPECT_EQ(config.error().value, value);
        EXPECT_EQ(config.error().problem, refusal.problem) << variable << "=" << value;
    }
    // Like every setting's, the line quotes the value as it was given.
    EXPECT_EQ(config_for({{"IPU_HOST_WRITE_JITTER_SEED", "12\n"}}).error().line(),
              "IPU_HOST_WRITE_JITTER_SEED=\"12\\n\": not an unsigned decimal number");
}

TEST(DeviceSettings, OpenDeviceRefusesWhatTheSettingsRefuse) {
    const ScopedEnvironment environment({{"IPU_HOST_WRITE_JITTER_MAX_US", "007"}},
                                        device_variables);
    const auto device = open_device();
    ASSERT_FALSE(device.has_value());
    EXPECT_EQ(device.error().variable, "IPU_HOST_WRITE_JITTER_MAX_US");
    EXPECT_EQ(device.error().value, "007");
}

}  // namespace
}  // namespace ipu_runner
