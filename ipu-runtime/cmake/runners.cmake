# Runner support shared by every runner executable: settings, first-mismatch
# reports, device settings and the main() wrapper.
add_library(ipu_runner
  src/runners/common/device_settings.cpp
  src/runners/common/mismatch.cpp
  src/runners/common/parsers.cpp
  src/runners/common/pattern.cpp
  src/runners/common/runner_main.cpp
  src/runners/common/settings.cpp
)
target_include_directories(ipu_runner PUBLIC include)
target_link_libraries(ipu_runner PUBLIC ipu_exchange ipu_sim)
quillmesh_warnings(ipu_runner)

quillmesh_test(ipu_runner_tests
  SOURCES
    tests/runners/common/device_settings_test.cpp
    tests/runners/common/mismatch_test.cpp
    tests/runners/common/parsers_test.cpp
    tests/runners/common/pattern_test.cpp
    tests/runners/common/settings_test.cpp
    tests/runners/common/runner_main_test.cpp
  LIBRARIES ipu_runner
)
