#include "device_lock.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace hardware_suite {
namespace {

using namespace std::chrono_literals;

TEST(DeviceLock, SecondHolderWaitsForTheFirstToRelease) {
    std::atomic<bool> first_released = false;
    std::atomic<bool> second_saw_release = false;
    auto first = std::make_optional(device());
    EXPECT_TRUE(first->holds_lock_file());
    std::thread second([&] {
        const DeviceGuard guard = device();
        second_saw_release = first_released.load();
    });
    std::this_thread::sleep_for(100ms);
    first_released = true;
    first.reset();
    second.join();
    EXPECT_TRUE(second_saw_release);
}

TEST(DeviceLock, ACaseThatFailsWhileHoldingItLeavesItUsable) {
    EXPECT_THROW(
        {
            const DeviceGuard guard = device();
            throw std::runtime_error("case failed");
        },
        std::runtime_error);
    std::thread next([] { const DeviceGuard guard = device(); });
    next.join();
    EXPECT_TRUE(DEVICE.try_lock());
    DEVICE.unlock();
}

}  // namespace
}  // namespace hardware_suite
