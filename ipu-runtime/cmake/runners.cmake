# Runner support shared by every runner executable: settings, first-mismatch
# reports, device settings and the main() wrapper.
add_library(ipu_runner
  src/runners/common/device_settings.cpp
  src/runners/common/mismatch.cpp
  src/runners/common/parsers.cpp
  src/runners/common/pattern.cpp
  src/runners/common/pattern_codelet.cpp
  src/runners/common/runner_main.cpp
  src/runners/common/settings.cpp
  src/runners/common/tile_io.cpp
)
target_include_directories(ipu_runner PUBLIC include/runners/common)
target_link_libraries(ipu_runner PUBLIC ipu_exchange ipu_sim PRIVATE ipu_text)
quillmesh_warnings(ipu_runner)

quillmesh_test(ipu_runner_tests
  SOURCES
    tests/runners/common/device_settings_test.cpp
    tests/runners/common/mismatch_test.cpp
    tests/runners/common/parsers_test.cpp
    tests/runners/common/pattern_test.cpp
    tests/runners/common/settings_test.cpp
    tests/runners/common/tile_io_test.cpp
    tests/runners/common/runner_main_test.cpp
  LIBRARIES ipu_runner
)

# runner_executable(NAME FOLDER LIBRARY) builds runner NAME from its main.cpp in FOLDER
# and the library holding the rest of its code.
function(runner_executable name folder library)
  add_executable(${name} src/runners/${folder}/main.cpp)
  target_link_libraries(${name} PRIVATE ${library})
  quillmesh_warnings(${name})
endfunction()

# ipu-host-e2e: host-to-device and device-to-host transfer patterns.
add_library(ipu_host_runner STATIC
  src/runners/host/alias_sentinels.cpp
  src/runners/host/host_program.cpp
  src/runners/host/host_reference.cpp
  src/runners/host/host_run.cpp
  src/runners/host/host_scenario.cpp
  src/runners/host/host_settings.cpp
)
target_include_directories(ipu_host_runner PUBLIC src/runners/host)
target_link_libraries(ipu_host_runner PUBLIC ipu_runner ipu_sim PRIVATE ipu_text)
quillmesh_warnings(ipu_host_runner)
runner_executable(ipu-host-e2e host ipu_host_runner)

quillmesh_test(ipu_host_runner_tests
  SOURCES
    tests/runners/host/alias_sentinels_test.cpp
    tests/runners/host/host_run_test.cpp
    tests/runners/host/host_scenario_test.cpp
    tests/runners/host/host_settings_test.cpp
  LIBRARIES ipu_host_runner ipu_text
)

# ipu-hardware-e2e: six named exchange and compute graphs.
add_library(ipu_graph_runner STATIC
  src/runners/graph/fanout_graph.cpp
  src/runners/graph/graph_catalogue.cpp
  src/runners/graph/graph_run.cpp
  src/runners/graph/graph_settings.cpp
  src/runners/graph/graph_support.cpp
  src/runners/graph/multicast_graph.cpp
  src/runners/graph/permutation_graph.cpp
  src/runners/graph/reduction_graph.cpp
  src/runners/graph/reduction_tree.cpp
  src/runners/graph/segmented_add_graph.cpp
  src/runners/graph/segmented_graph_compiler.cpp
  src/runners/graph/sparse_compute_exchange_graph.cpp
)
target_include_directories(ipu_graph_runner PUBLIC src/runners/graph)
target_link_libraries(ipu_graph_runner PUBLIC ipu_runner ipu_sim)
quillmesh_warnings(ipu_graph_runner)
runner_executable(ipu-hardware-e2e graph ipu_graph_runner)

quillmesh_test(ipu_graph_runner_tests
  SOURCES
    tests/runners/graph/graph_building_test.cpp
    tests/runners/graph/graph_settings_test.cpp
  LIBRARIES ipu_graph_runner
)

# ipu-randomized-e2e: a random static exchange graph drawn from a seed.
add_library(ipu_randomized_runner STATIC
  src/runners/randomized/random_graph.cpp
  src/runners/randomized/random_graph_run.cpp
  src/runners/randomized/randomized_settings.cpp
)
target_include_directories(ipu_randomized_runner PUBLIC src/runners/randomized)
target_link_libraries(ipu_randomized_runner PUBLIC ipu_runner ipu_scenario ipu_sim)
quillmesh_warnings(ipu_randomized_runner)
runner_executable(ipu-randomized-e2e randomized ipu_randomized_runner)

quillmesh_test(ipu_randomized_runner_tests
  SOURCES
    tests/runners/randomized/random_graph_test.cpp
    tests/runners/randomized/randomized_settings_test.cpp
  LIBRARIES ipu_randomized_runner
)

# End-to-end tests: each runner started as the suite starts it, judged by its exit
# status. Every runner variable is cleared first, so an outer environment cannot
# change a scenario.
set(RUNNER_VARIABLES
  IPU_SIM_FAULT IPU_HOST_WRITE_JITTER_MAX_US IPU_HOST_WRITE_JITTER_SEED
  IPU_HOST_TEST_TILE IPU_HOST_TEST_TILES IPU_HOST_TEST_BYTES IPU_HOST_TEST_ADDRESS
  IPU_HOST_TEST_D2H_ONLY IPU_HOST_TEST_REMOTE_D2H IPU_HOST_TEST_EXCHANGE
  IPU_HOST_TEST_INITIALIZED_EXCHANGE IPU_HOST_TEST_COMPUTE_RELAY
  IPU_GRAPH_TEST IPU_RANDOM_SEED
  IPU_GEMM_DIMENSION IPU_GEMM_SRAM_CHECK_BLOCK IPU_PROFILE_OUTPUT)

# runner_e2e_test(NAME RUNNER EXIT_STATUS [VAR=value ...]) runs RUNNER with the
# given variables and passes when it exits with EXIT_STATUS.
function(runner_e2e_test name runner status)
  add_test(NAME ${name}
    COMMAND sh -c "\"$0\"; test $? -eq ${status}" $<TARGET_FILE:${runner}>)
  set(modifications "")
  foreach(variable IN LISTS RUNNER_VARIABLES)
    list(APPEND modifications "${variable}=unset:")
  endforeach()
  foreach(assignment IN LISTS ARGN)
    string(REGEX REPLACE "^([^=]*)=" "\\1=set:" modification "${assignment}")
    list(APPEND modifications "${modification}")
  endforeach()
  set_tests_properties(${name} PROPERTIES
    LABELS runner TIMEOUT 60 ENVIRONMENT_MODIFICATION "${modifications}")
endfunction()

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

foreach(graph IN ITEMS fanout reduction permutation reduction-permutation multicast
                      compiler-segmented-add)
  runner_e2e_test(runner.graph.${graph} ipu-hardware-e2e 0 IPU_GRAPH_TEST=${graph})
endforeach()
runner_e2e_test(runner.graph.all ipu-hardware-e2e 0)
runner_e2e_test(runner.graph.fault.exchange-drop ipu-hardware-e2e 1
  IPU_SIM_FAULT=exchange-drop IPU_GRAPH_TEST=permutation)
runner_e2e_test(runner.graph.fault.multicast-receiver-drop ipu-hardware-e2e 1
  IPU_SIM_FAULT=multicast-receiver-drop IPU_GRAPH_TEST=fanout)
runner_e2e_test(runner.graph.fault.skipped-sync ipu-hardware-e2e 1
  IPU_SIM_FAULT=skipped-sync IPU_GRAPH_TEST=reduction-permutation)
runner_e2e_test(runner.graph.fault.sram-address-alias ipu-hardware-e2e 1
  IPU_SIM_FAULT=sram-address-alias IPU_GRAPH_TEST=compiler-segmented-add)
runner_e2e_test(runner.graph.bad-setting ipu-hardware-e2e 2 IPU_GRAPH_TEST=fan-out)

foreach(seed IN ITEMS 5860671082139043155 7640891576956012809 13503953896175478587)
  runner_e2e_test(runner.randomized.${seed} ipu-randomized-e2e 0 IPU_RANDOM_SEED=${seed})
endforeach()
runner_e2e_test(runner.randomized.fault.exchange-bit-flip ipu-randomized-e2e 1
  IPU_SIM_FAULT=exchange-bit-flip IPU_RANDOM_SEED=7640891576956012809)
runner_e2e_test(runner.randomized.bad-setting ipu-randomized-e2e 2 IPU_RANDOM_SEED=18446744073709551616)
