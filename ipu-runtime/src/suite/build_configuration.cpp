#include "build_configuration.hpp"

namespace hardware_suite {

std::string_view runner_directory() {
    return QUILLMESH_RUNNER_DIR;
}

std::string_view device_lock_path() {
    return QUILLMESH_DEVICE_LOCK;
}

}  // namespace hardware_suite
