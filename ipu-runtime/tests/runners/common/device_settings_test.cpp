#include "ipu_runner/device_settings.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace ipu_runner {
namespace {

TEST(DeviceSettings, RefusedDeviceSettingNamesVariableAndValue) {
    ::setenv("IPU_SIM_FAULT", "no-such-fault", 1);
    const auto config = device_config_setting();
    ::unsetenv("IPU_SIM_FAULT");
    ASSERT_FALSE(config.has_value());
    EXPECT_EQ(config.error().variable, "IPU_SIM_FAULT");
    EXPECT_EQ(config.error().value, "no-such-fault");
    const std::string line = config.error().line();
    EXPECT_TRUE(line.starts_with("IPU_SIM_FAULT=\"no-such-fault\": expected ")) << line;
    EXPECT_NE(line.find("exchange-drop"), std::string::npos) << line;
}

TEST(DeviceSettings, JitterAndFaultReachTheConfig) {
    ::setenv("IPU_HOST_WRITE_JITTER_MAX_US", "250", 1);
    ::setenv("IPU_SIM_FAULT", "exchange-drop", 1);
    const auto config = device_config_setting();
    ::unsetenv("IPU_HOST_WRITE_JITTER_MAX_US");
    ::unsetenv("IPU_SIM_FAULT");
    ASSERT_TRUE(config.has_value()) << config.error().line();
    EXPECT_EQ(config->jitter.max_us, 250u);
    EXPECT_EQ(config->fault, ipu_sim::Fault::ExchangeDrop);
}

}  // namespace
}  // namespace ipu_runner
