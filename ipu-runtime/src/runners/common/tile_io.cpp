#include "ipu_runner/tile_io.hpp"

#include "ipu_runner/physical_tile.hpp"
#include "ipu_text/hex_text.hpp"

namespace ipu_runner {
namespace {

std::string place(std::uint16_t tile, std::uint32_t address) {
    return "tile " + std::to_string(tile) + " at " + ipu_text::hex_text(address);
}

}  // namespace

DeviceStep write_tile(ipu_sim::Device& device, std::uint16_t tile, std::uint32_t address,
                      std::span<const std::uint8_t> bytes) {
    const auto written = device.host_write(physical_tile(tile), address, bytes);
    if (!written) {
        return std::unexpected(
            RunnerFailure::device("H2D write to " + place(tile, address), written.error()));
    }
    return {};
}

DeviceStep check_tile(ipu_sim::Device& device, const TileExpectation& expected) {
    std::vector<std::uint8_t> actual(expected.bytes.size());
    const auto read = device.host_read(physical_tile(expected.tile), expected.address,
                                       std::span<std::uint8_t>(actual));
    if (!read) {
        return std::unexpected(RunnerFailure::device(
            "D2H read of " + place(expected.tile, expected.address), read.error()));
    }
    if (auto mismatch = first_mismatch(expected.check, expected.tile, expected.address,
                                       expected.bytes, actual)) {
        return std::unexpected(std::move(*mismatch));
    }
    return {};
}

std::expected<std::size_t, RunnerFailure> check_tiles(
    ipu_sim::Device& device, std::span<const TileExpectation> expectations) {
    std::size_t checked = 0;
    for (const TileExpectation& expected : expectations) {
        if (auto step = check_tile(device, expected); !step) {
            return std::unexpected(std::move(step.error()));
        }
        checked += expected.bytes.size();
    }
    return checked;
}

std::expected<ipu_sim::RunCycles, RunnerFailure> run_program(ipu_sim::Device& device,
                                                             const ipu_sim::Program& program,
                                                             std::string_view what) {
    const auto ran = device.run(program);
    if (!ran) {
        return std::unexpected(RunnerFailure::device("running " + std::string(what), ran.error()));
    }
    return *ran;
}

std::expected<ipu_sim::RunCycles, RunnerFailure> run_built_program(ipu_sim::Device& device,
                                                                   const ProgramBuild& build,
                                                                   std::string_view building,
                                                                   std::string_view what) {
    if (!build) {
        return std::unexpected(RunnerFailure::device(building, build.error()));
    }
    return run_program(device, *build, what);
}

}  // namespace ipu_runner
