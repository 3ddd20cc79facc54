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

# The suite's case runs the runner with its own seeds; here, any seed will do.
runner_e2e_test(runner.randomized.seed-1 ipu-randomized-e2e 0 IPU_RANDOM_SEED=1)
runner_e2e_test(runner.randomized.fault.exchange-bit-flip ipu-randomized-e2e 1
  IPU_SIM_FAULT=exchange-bit-flip IPU_RANDOM_SEED=1)
runner_e2e_test(runner.randomized.bad-setting ipu-randomized-e2e 2 IPU_RANDOM_SEED=18446744073709551616)
