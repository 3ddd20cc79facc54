# The simulated C600 device: tile SRAM, host link, exchange and the superstep engine.

add_library(ipu_sim
  src/sim/codelet.cpp
  src/sim/compute_phase.cpp
  src/sim/cost_table.cpp
  src/sim/cycle_ledger.cpp
  src/sim/device.cpp
  src/sim/exchange_phase.cpp
  src/sim/fault.cpp
  src/sim/fault_injector.cpp
  src/sim/host_link.cpp
  src/sim/host_route.cpp
  src/sim/program_check.cpp
  src/sim/program_runner.cpp
  src/sim/tile_memory.cpp
)
target_include_directories(ipu_sim PUBLIC include/sim)
target_link_libraries(ipu_sim PUBLIC ipu_exchange PRIVATE ipu_scenario)
quillmesh_warnings(ipu_sim)

quillmesh_test(ipu_sim_tests
  SOURCES
    tests/sim/fault_catalogue_test.cpp
    tests/sim/device_host_test.cpp
    tests/sim/device_program_test.cpp
    tests/sim/fault_injection_test.cpp
    tests/sim/host_route_test.cpp
    tests/sim/tile_memory_test.cpp
  LIBRARIES ipu_sim
)

# Device data movement against memcpy of the same bytes (build Release).
add_executable(ipu_sim_bench bench/sim/ipu_sim_bench.cpp)
target_link_libraries(ipu_sim_bench PRIVATE ipu_sim bench_support)
quillmesh_warnings(ipu_sim_bench)
