#include "host_reference.hpp"

#include <algorithm>

namespace ipu_host_runner {
namespace {

void transform_bytes(std::vector<std::uint8_t>& bytes, std::uint8_t (*transform)(std::uint8_t)) {
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), transform);
}

}  // namespace

std::vector<std::uint8_t> source_data(const HostSettings& settings, std::uint16_t tile) {
    return ipu_runner::pattern_bytes({data_stream, tile}, settings.address, settings.bytes);
}

std::vector<std::uint8_t> final_data(const HostScenario& scenario, std::size_t i) {
    std::vector<std::uint8_t> bytes = source_data(scenario.settings, scenario.settings.tiles[i]);
    if (scenario.settings.path == HostPath::compute_relay) {
        transform_bytes(bytes, [](std::uint8_t x) { return second_compute(first_compute(x)); });
    }
    return bytes;
}

std::vector<ipu_runner::TileExpectation> final_expectations(const HostScenario& scenario) {
    const HostSettings& s = scenario.settings;
    std::vector<ipu_runner::TileExpectation> expectations;
    for (std::size_t i = 0; i < s.tiles.size(); ++i) {
        std::vector<std::uint8_t> kept = source_data(s, s.tiles[i]);
        if (s.path == HostPath::compute_relay) {
            transform_bytes(kept, [](std::uint8_t x) { return first_compute(x); });
        }
        expectations.push_back({"D2H of the tile under test", s.tiles[i], s.address, kept});
        if (!scenario.relay_tiles.empty()) {
            expectations.push_back({"D2H of the relay tile", scenario.relay_tiles[i], s.address,
                                    final_data(scenario, i)});
        }
    }
    for (const std::uint16_t tile : scenario.holder_tiles()) {
        for (const ipu_sim::ByteRange& range : scenario.sentinels) {
            expectations.push_back(
                {"alias sentinel", tile, range.address,
                 ipu_runner::pattern_bytes({sentinel_stream, tile}, range.address, range.length)});
        }
    }
    return expectations;
}

std::vector<std::uint8_t> expected_host_buffer(const HostScenario& scenario) {
    std::vector<std::uint8_t> buffer;
    for (std::size_t i = 0; i < scenario.settings.tiles.size(); ++i) {
        const std::vector<std::uint8_t> bytes = final_data(scenario, i);
        buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    }
    return buffer;
}

}  // namespace ipu_host_runner
