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

# The suite's host-exchange scenarios, as "case|VAR=value|..." entries.
set(HOST_ROUTE_TILES "0,90,1,91,92,182,93,183,184,274,185,275,276,366,277,367,368,458,369,459,460,550,461,551,552,642,553,643,644,734,645,735,736,826,737,827,828,918,829,919,920,1010,921,1011,1012,1102,1013,1103,1104,1194,1105,1195,1196,1286,1197,1287,1288,1378,1289,1379,1380,1470,1381,1471,456,454,452,450,448,446,444,442,440,438,436,434,432,430,428,426,424,422,420,418,416,414")
set(HOST_SCENARIOS
  "initialized_local_tile_d2h_works|IPU_HOST_TEST_D2H_ONLY=1"
  "local_h2d_and_d2h_round_trip_works"
  "initialized_d2d_relay_and_d2h_work|IPU_HOST_TEST_EXCHANGE=1|IPU_HOST_TEST_INITIALIZED_EXCHANGE=1"
  "large_h2d_timed_relay_and_d2h_composition_works|IPU_HOST_TEST_EXCHANGE=1|IPU_HOST_TEST_BYTES=2048"
  "h2d_compute_d2d_compute_d2h_works|IPU_HOST_TEST_COMPUTE_RELAY=1|IPU_HOST_TEST_BYTES=4"
  "remote_tile_h2d_and_d2h_work|IPU_HOST_TEST_TILE=1471|IPU_HOST_TEST_BYTES=8192"
  "high_address_large_h2d_and_d2h_work|IPU_HOST_TEST_TILE=100|IPU_HOST_TEST_BYTES=65536|IPU_HOST_TEST_ADDRESS=0x60000"
  "initialized_remote_tile_d2h_works|IPU_HOST_TEST_REMOTE_D2H=1|IPU_HOST_TEST_TILE=1471|IPU_HOST_TEST_BYTES=8192"
  "distinct_sources_can_write_disjoint_host_ranges|IPU_HOST_TEST_TILES=1471,274|IPU_HOST_TEST_BYTES=64"
  "host_routes_cover_every_endpoint_field|IPU_HOST_TEST_TILES=${HOST_ROUTE_TILES}|IPU_HOST_TEST_BYTES=64"
  "randomized_multi_tile_host_round_trips_work.1|IPU_HOST_TEST_TILES=34,71,144,956,1104,1157,1243,1300|IPU_HOST_TEST_BYTES=4"
  "randomized_multi_tile_host_round_trips_work.2|IPU_HOST_TEST_TILES=11,19,108,451,536,647,846,958|IPU_HOST_TEST_BYTES=1024"
  "randomized_multi_tile_host_round_trips_work.3|IPU_HOST_TEST_TILES=19,82,416,602,829,893,1065,1187|IPU_HOST_TEST_BYTES=8192"
)
foreach(scenario IN LISTS HOST_SCENARIOS)
  string(REPLACE "|" ";" fields "${scenario}")
  list(POP_FRONT fields case)
  runner_e2e_test(runner.host.${case} ipu-host-e2e 0 ${fields})
  runner_e2e_test(runner.host.${case}.jitter ipu-host-e2e 0 ${fields}
    IPU_HOST_WRITE_JITTER_MAX_US=250 IPU_HOST_WRITE_JITTER_SEED=3)
endforeach()

# A broken device fails the host runner with status 1; a bad setting stops it with 2.
runner_e2e_test(runner.host.fault.route-lane-stuck ipu-host-e2e 1 IPU_SIM_FAULT=route-lane-stuck)
runner_e2e_test(runner.host.fault.h2d-packet-duplicate ipu-host-e2e 1
  IPU_SIM_FAULT=h2d-packet-duplicate)
runner_e2e_test(runner.host.fault.sram-address-alias ipu-host-e2e 1
  IPU_SIM_FAULT=sram-address-alias IPU_HOST_TEST_TILE=100 IPU_HOST_TEST_BYTES=65536
  IPU_HOST_TEST_ADDRESS=0x60000)
runner_e2e_test(runner.host.bad-setting ipu-host-e2e 2 IPU_HOST_TEST_BYTES=0x10)
runner_e2e_test(runner.host.bad-fault-name ipu-host-e2e 2 IPU_SIM_FAULT=route-stuck)
# The device's settings are read with the same grammar as the runner's own.
runner_e2e_test(runner.host.bad-jitter ipu-host-e2e 2 IPU_HOST_WRITE_JITTER_MAX_US=007
  STDERR "ipu-host-e2e: IPU_HOST_WRITE_JITTER_MAX_US=\"007\": written with a leading zero")
runner_e2e_test(runner.host.bad-bytes ipu-host-e2e 2 IPU_HOST_TEST_BYTES=007
  STDERR "ipu-host-e2e: IPU_HOST_TEST_BYTES=\"007\": written with a leading zero")
