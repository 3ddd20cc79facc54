#include "graph_run.hpp"

#include <gtest/gtest.h>

#include "../runner_endings.hpp"
#include "graph_catalogue.hpp"

namespace ipu_graph_runner {
namespace {

using ipu_runner::ExitStatus;
using ipu_runner_testing::RunnerEnding;

TEST(HardwareE2e, EndsAsItsSettingsAndTheDeviceSay) {
    const RunnerEnding cases[] = {
        {{{"IPU_GRAPH_TEST", "multicast"}},
         ExitStatus::passed,
         "multicast: " + multicast_graph()->description + ", 12288 bytes checked, "},
        // A failure is led by the name of the graph it happened in.
        {{{"IPU_GRAPH_TEST", "permutation"}, {"IPU_SIM_FAULT", "exchange-drop"}},
         ExitStatus::failed,
         "permutation: permuted block: first mismatch at tile "},
        {{{"IPU_GRAPH_TEST", "fan-out"}}, ExitStatus::bad_setting, "IPU_GRAPH_TEST=\"fan-out\": "},
        {{{"IPU_GRAPH_TEST", "fanout"}, {"IPU_HOST_WRITE_JITTER_SEED", "007"}},
         ExitStatus::bad_setting,
         "IPU_HOST_WRITE_JITTER_SEED=\"007\": "},
    };
    ipu_runner_testing::expect_endings(run_hardware_e2e, {"IPU_GRAPH_TEST"}, cases);
}

}  // namespace
}  // namespace ipu_graph_runner
