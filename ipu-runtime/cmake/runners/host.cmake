# ipu-host-e2e: host-to-device and device-to-host transfer patterns.
add_runner(ipu-host-e2e
  FOLDER host
  LIBRARY ipu_host_runner
  SOURCES
    alias_sentinels.cpp
    host_program.cpp
    host_reference.cpp
    host_run.cpp
    host_scenario.cpp
    host_settings.cpp
  LINKS PUBLIC ipu_runner ipu_sim ipu_exchange PRIVATE ipu_text
  TEST_TARGET ipu_host_runner_tests
  TESTS
    alias_sentinels_test.cpp
    host_run_test.cpp
    host_scenario_test.cpp
    host_settings_test.cpp
  TEST_LINKS ipu_text
)

# A broken device fails the host runner with status 1; a bad setting stops it with 2.
runner_e2e_test(runner.host.fault.route-lane-stuck ipu-host-e2e 1 IPU_SIM_FAULT=route-lane-stuck)
runner_e2e_test(runner.host.fault.h2d-packet-duplicate ipu-host-e2e 1
  IPU_SIM_FAULT=h2d-packet-duplicate)
runner_e2e_test(runner.host.bad-setting ipu-host-e2e 2 IPU_HOST_TEST_BYTES=0x10)
runner_e2e_test(runner.host.bad-fault-name ipu-host-e2e 2 IPU_SIM_FAULT=route-stuck)
# The device's settings are read with the same grammar as the runner's own.
runner_e2e_test(runner.host.bad-jitter ipu-host-e2e 2 IPU_HOST_WRITE_JITTER_MAX_US=007
  STDERR "ipu-host-e2e: IPU_HOST_WRITE_JITTER_MAX_US=\"007\": written with a leading zero")
runner_e2e_test(runner.host.bad-bytes ipu-host-e2e 2 IPU_HOST_TEST_BYTES=007
  STDERR "ipu-host-e2e: IPU_HOST_TEST_BYTES=\"007\": written with a leading zero")
