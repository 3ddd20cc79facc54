#include "device_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "build_configuration.hpp"

namespace hardware_suite {

std::mutex DEVICE;

namespace {

// The lock file of the guard that holds DEVICE; only that holder sets and reads it.
int held_lock_file = -1;

// Opens and exclusively locks the machine-wide lock file; -1 when either step fails.
// Read access is enough for flock, so a file created by another user still serves.
int lock_machine_wide() {
    const std::string path(device_lock_path());
    const int file = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        return -1;
    }
    int locked;
    do {
        locked = ::flock(file, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(file);
        return -1;
    }
    return file;
}

}  // namespace

DeviceGuard::DeviceGuard(std::unique_lock<std::mutex> in_process, int lock_file)
    : in_process_(std::move(in_process)), lock_file_(lock_file) {}

DeviceGuard::DeviceGuard(DeviceGuard&& other) noexcept
    : in_process_(std::move(other.in_process_)), lock_file_(other.lock_file_) {
    other.lock_file_ = -1;
}

DeviceGuard::~DeviceGuard() {
    if (lock_file_ >= 0) {
        held_lock_file = -1;
        ::flock(lock_file_, LOCK_UN);
        ::close(lock_file_);
    }
}

int held_device_lock_file() {
    return held_lock_file;
}

DeviceGuard device() {
    std::unique_lock in_process(DEVICE);
    held_lock_file = lock_machine_wide();
    return DeviceGuard(std::move(in_process), held_lock_file);
}

}  // namespace hardware_suite
