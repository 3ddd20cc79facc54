# ipu-randomized-e2e: a random static exchange graph drawn from a seed.
add_runner(ipu-randomized-e2e
  FOLDER randomized
  LIBRARY ipu_randomized_runner
  SOURCES
    random_graph.cpp
    random_graph_run.cpp
    randomized_settings.cpp
  LINKS PUBLIC ipu_runner ipu_scenario ipu_sim ipu_exchange
  TEST_TARGET ipu_randomized_runner_tests
  TESTS
    random_graph_run_test.cpp
    random_graph_test.cpp
    randomized_settings_test.cpp
)

foreach(seed IN ITEMS 5860671082139043155 7640891576956012809 13503953896175478587)
  runner_e2e_test(runner.randomized.${seed} ipu-randomized-e2e 0 IPU_RANDOM_SEED=${seed})
endforeach()
runner_e2e_test(runner.randomized.fault.exchange-bit-flip ipu-randomized-e2e 1
  IPU_SIM_FAULT=exchange-bit-flip IPU_RANDOM_SEED=7640891576956012809)
runner_e2e_test(runner.randomized.bad-setting ipu-randomized-e2e 2 IPU_RANDOM_SEED=18446744073709551616)
