#pragma once

#include <mutex>

namespace hardware_suite {

// The process-wide lock that stands for the accelerator: holding it means that
// the holding case, and no other, may use the device. It guards no data.
extern std::mutex DEVICE;

// Holding a DeviceGuard is holding DEVICE and, when the lock file could be
// opened, an exclusive advisory lock on that file, so that suite processes on
// one machine take turns as well. Both are released when the guard is
// destroyed, on the failure path too (file lock first, DEVICE last).
class DeviceGuard {
  public:
    DeviceGuard(std::unique_lock<std::mutex> in_process, int lock_file);
    DeviceGuard(DeviceGuard&& other) noexcept;
    DeviceGuard(const DeviceGuard&) = delete;
    DeviceGuard& operator=(const DeviceGuard&) = delete;
    DeviceGuard& operator=(DeviceGuard&&) = delete;
    ~DeviceGuard();

    // Whether the machine-wide file lock is held as well as DEVICE.
    bool holds_lock_file() const { return lock_file_ >= 0; }

  private:
    std::unique_lock<std::mutex> in_process_;
    int lock_file_;
};

// The open lock file of the guard that holds DEVICE, or -1 when no guard holds it
// or its file could not be opened. A runner started by the holder inherits this
// open file description, so the machine-wide lock stays held for as long as the
// runner lives, even when the suite itself dies first.
int held_device_lock_file();

// Blocks until the device is free and returns its guard. Never fails: a lock
// file that cannot be opened or locked leaves the in-process lock alone in force.
DeviceGuard device();

}  // namespace hardware_suite
