#include "host_run.hpp"

#include "host_program.hpp"
#include "host_reference.hpp"
#include "host_settings.hpp"
#include "ipu_runner/device_settings.hpp"
#include "ipu_text/hex_text.hpp"

namespace ipu_host_runner {
namespace {

using ipu_runner::RunnerFailure;

// Bytes after the last range of the host buffer that no tile may write.
constexpr std::uint32_t host_buffer_guard_bytes = 64;

using Step = ipu_runner::DeviceStep;

// Steps 1 and 2 of run_host_scenario. The first version of the data goes out
// before the sentinels, so that the first packet of the run is one whose loss, or
// whose replay over newer data, a later check sees.
Step stage_host_data(const HostScenario& scenario, ipu_sim::Device& device) {
    const HostSettings& s = scenario.settings;
    const bool host_data = s.source == HostSource::host_write;
    const auto staging = [&s](std::uint16_t tile) {
        return ipu_runner::pattern_bytes({staging_stream, tile}, s.address, s.bytes);
    };
    for (const std::uint16_t tile : host_data ? s.tiles : std::vector<std::uint16_t>{}) {
        if (auto step = ipu_runner::write_tile(device, tile, s.address, staging(tile)); !step) {
            return step;
        }
    }
    for (const std::uint16_t tile : scenario.holder_tiles()) {
        for (const ipu_sim::ByteRange& range : scenario.sentinels) {
            const auto sentinel =
                ipu_runner::pattern_bytes({sentinel_stream, tile}, range.address, range.length);
            if (auto step = ipu_runner::write_tile(device, tile, range.address, sentinel); !step) {
                return step;
            }
        }
    }
    device.fence();
    if (!host_data) {
        return {};
    }
    for (const std::uint16_t tile : s.tiles) {
        if (auto step = ipu_runner::check_tile(
                device, {"D2H of the first H2D", tile, s.address, staging(tile)});
            !step) {
            return step;
        }
    }
    for (const std::uint16_t tile : s.tiles) {
        if (auto step = ipu_runner::write_tile(device, tile, s.address, source_data(s, tile));
            !step) {
            return step;
        }
    }
    device.fence();
    return {};
}

Step check_host_buffer(const HostScenario& scenario, std::span<const std::uint8_t> actual) {
    const HostSettings& s = scenario.settings;
    const std::vector<std::uint8_t> expected = expected_host_buffer(scenario);
    const std::span<const std::uint16_t> tiles = scenario.final_tiles();
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const std::size_t offset = i * s.bytes;
        if (auto mismatch = ipu_runner::first_mismatch(
                "host buffer range sent by the tile", tiles[i], s.address,
                std::span(expected).subspan(offset, s.bytes), actual.subspan(offset, s.bytes))) {
            return std::unexpected(std::move(*mismatch));
        }
    }
    const std::vector<std::uint8_t> guard(host_buffer_guard_bytes, ipu_sim::unwritten_host_fill);
    if (auto mismatch = ipu_runner::first_mismatch(
            "host buffer guard after the last range (address past its data)", tiles.back(),
            s.address + s.bytes, guard, actual.subspan(expected.size()))) {
        return std::unexpected(std::move(*mismatch));
    }
    return {};
}

std::string describe(const HostScenario& scenario) {
    const HostSettings& s = scenario.settings;
    std::string what = s.source == HostSource::host_write ? "H2D" : "initialized data";
    if (s.path == HostPath::relay) {
        what += ", D2D relay";
    } else if (s.path == HostPath::compute_relay) {
        what += ", compute, D2D relay, compute";
    }
    what += scenario.device_sends ? ", tile-initiated D2H and D2H" : " and D2H";
    return what + " of " + std::to_string(s.bytes) + " bytes at " + ipu_text::hex_text(s.address) +
           " on " + std::to_string(s.tiles.size()) + (s.tiles.size() == 1 ? " tile" : " tiles");
}

}  // namespace

ipu_runner::RunnerOutcome run_host_scenario(const HostScenario& scenario, ipu_sim::Device& device) {
    if (auto staged = stage_host_data(scenario, device); !staged) {
        return std::unexpected(std::move(staged.error()));
    }

    std::optional<ipu_sim::HostBufferId> buffer;
    std::uint32_t buffer_bytes = 0;
    if (scenario.device_sends) {
        buffer_bytes =
            static_cast<std::uint32_t>(scenario.settings.tiles.size() * scenario.settings.bytes) +
            host_buffer_guard_bytes;
        buffer = device.create_host_buffer(buffer_bytes);
    }
    const auto program = build_host_program(scenario, buffer);
    if (!program) {
        return std::unexpected(
            RunnerFailure::device("compiling the relay exchange", program.error()));
    }
    if (!program->supersteps.empty()) {
        if (const auto ran = ipu_runner::run_program(device, *program, "the program"); !ran) {
            return std::unexpected(ran.error());
        }
    }

    const auto expectations = final_expectations(scenario);
    auto tiles_checked = ipu_runner::check_tiles(device, expectations);
    if (!tiles_checked) {
        return std::unexpected(std::move(tiles_checked.error()));
    }
    std::size_t checked = *tiles_checked;
    if (buffer) {
        const std::span<const std::uint8_t> actual = device.host_buffer(*buffer);
        if (actual.size() != buffer_bytes) {
            return std::unexpected(
                RunnerFailure(ipu_runner::ExitStatus::failed, "the device lost the host buffer"));
        }
        if (auto step = check_host_buffer(scenario, actual); !step) {
            return std::unexpected(std::move(step.error()));
        }
        checked += actual.size();
    }
    return describe(scenario) + ": all " + std::to_string(checked) + " bytes checked matched; " +
           std::to_string(device.cycle()) + " device cycles";
}

ipu_runner::RunnerOutcome run_host_e2e() {
    auto settings = read_host_settings();
    if (!settings) {
        return std::unexpected(settings.error());
    }
    auto device = ipu_runner::open_device();
    if (!device) {
        return std::unexpected(device.error());
    }
    return run_host_scenario(build_host_scenario(std::move(*settings)), *device);
}

}  // namespace ipu_host_runner
