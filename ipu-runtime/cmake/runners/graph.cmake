# ipu-hardware-e2e: six named exchange and compute graphs.
add_runner(ipu-hardware-e2e
  FOLDER graph
  LIBRARY ipu_graph_runner
  SOURCES
    fanout_graph.cpp
    graph_catalogue.cpp
    graph_run.cpp
    graph_settings.cpp
    graph_support.cpp
    multicast_graph.cpp
    permutation_graph.cpp
    reduction_graph.cpp
    reduction_tree.cpp
    segmented_add_graph.cpp
    segmented_graph_compiler.cpp
    sparse_compute_exchange_graph.cpp
  LINKS PUBLIC ipu_runner ipu_sim ipu_exchange
  TEST_TARGET ipu_graph_runner_tests
  TESTS
    graph_building_test.cpp
    graph_run_test.cpp
    graph_settings_test.cpp
)

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
