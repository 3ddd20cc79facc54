#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/device.hpp"

namespace ipu_runner {

// The steps runners take on a device, with the device's refusals turned into
// RunnerFailure (status 1). Tiles are logical numbers; the device is addressed by
// their physical numbers (physical_tile.hpp).

using DeviceStep = std::expected<void, RunnerFailure>;

// Bytes that one tile must hold at one address; `check` names the expectation
// in a mismatch report.
struct TileExpectation {
    std::string check;
    std::uint16_t tile;
    std::uint32_t address;
    std::vector<std::uint8_t> bytes;
};

// H2D of `bytes` to `tile` at `address` (not fenced).
DeviceStep write_tile(ipu_sim::Device& device, std::uint16_t tile, std::uint32_t address,
                      std::span<const std::uint8_t> bytes);

// D2H of the expected range, compared byte for byte: the first mismatch, if any.
DeviceStep check_tile(ipu_sim::Device& device, const TileExpectation& expected);

// Every expectation in order; the first mismatch ends the checks. Returns the
// number of bytes checked.
std::expected<std::size_t, RunnerFailure> check_tiles(
    ipu_sim::Device& device, std::span<const TileExpectation> expectations);

// Runs `program`; a refusal names `what` ran.
std::expected<ipu_sim::RunCycles, RunnerFailure> run_program(ipu_sim::Device& device,
                                                             const ipu_sim::Program& program,
                                                             std::string_view what);

// A program as a runner builds it, or the exchange compiler's refusal of it.
using ProgramBuild = std::expected<ipu_sim::Program, ipu_exchange::ExchangeError>;

// run_program on the program that `build` holds; a refused build fails as a
// refusal of the step `building` (for example "GEMM exchange schedule").
std::expected<ipu_sim::RunCycles, RunnerFailure> run_built_program(ipu_sim::Device& device,
                                                                   const ProgramBuild& build,
                                                                   std::string_view building,
                                                                   std::string_view what);

}  // namespace ipu_runner
