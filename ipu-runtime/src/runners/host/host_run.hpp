#pragma once

#include "host_scenario.hpp"
#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/device.hpp"

namespace ipu_host_runner {

// Runs the scenario on `device` and checks every byte it leaves on the tiles and in
// the host buffer against the host's reference:
// 1. For H2D data, H2D a first version of it; H2D the sentinels to every holder
//    tile; fence; read the first version back (a lost packet shows here).
// 2. H2D the data over it; fence (a stale packet replayed later shows at the end).
// 3. Run the program (initialize, compute, relay, tiles sending to the host).
// 4. D2H every holder tile's data and sentinels, and check the host buffer.
// Returns the summary line, or the first mismatch or device refusal.
ipu_runner::RunnerOutcome run_host_scenario(const HostScenario& scenario, ipu_sim::Device& device);

// The whole of ipu-host-e2e: its settings (read_host_settings), a device with the
// device settings of this process (ipu_runner::open_device), then the scenario of
// the settings run by run_host_scenario.
ipu_runner::RunnerOutcome run_host_e2e();

}  // namespace ipu_host_runner
