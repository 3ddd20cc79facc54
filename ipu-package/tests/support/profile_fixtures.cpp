#include "profile_fixtures.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

#include "ipu_package/profile_writer.hpp"

namespace ipu_package::fixtures {
namespace {

constexpr ProfileStepKind all_kinds[] = {ProfileStepKind::Exchange, ProfileStepKind::Compute,
                                         ProfileStepKind::Synchronization, ProfileStepKind::Idle};

}  // namespace

ProfileReport varied_report() {
    using std::string_literals::operator""s;
    const ProfileStep exchange{3, 1, 0, "exchange", ProfileStepKind::Exchange, "", {}};
    const ProfileStep compute{4,
                              2,
                              1,
                              "matmul_block_0_1",
                              ProfileStepKind::Compute,
                              "poplin::ConvPartial1x1Out<half,float>",
                              {{"rows", "16"}, {"cols", "16"}, {"note", "größe µs ✓"}}};
    const ProfileStep sync{5, 2, 1, "sync", ProfileStepKind::Synchronization, "", {{"", ""}}};
    const ProfileStep idle{6, 3, 2, "with\0nul"s, ProfileStepKind::Idle, "idle🙂", {}};
    return ProfileReport{
        .clock_hz = 1'850'000'000,
        .tiles = {
            {.physical_tile = 4, .samples = {{exchange, 100, 250}, {compute, 250, 9000}}},
            {.physical_tile = 0, .samples = {}},
            {.physical_tile = 4, .samples = {{sync, 9000, 9001}, {idle, 4'000'000'000u, 7}}},
            {.physical_tile = 0xffff'ffff, .samples = {{compute, 0, 0xffff'ffff}}},
        }};
}

ProfileReport synthetic_report(std::uint32_t tiles, std::uint32_t samples_per_tile,
                               std::uint32_t metadata_per_step) {
    ProfileReport report{.clock_hz = 1'330'000'000, .tiles = {}};
    report.tiles.reserve(tiles);
    for (std::uint32_t t = 0; t < tiles; ++t) {
        TileProfile tile{.physical_tile = t ^ 0x40u, .samples = {}};
        tile.samples.reserve(samples_per_tile);
        std::uint32_t cycle = t;
        for (std::uint32_t s = 0; s < samples_per_tile; ++s) {
            ProfileStep step{.local_index = s,
                             .phase = s / 4,
                             .epoch = s / 64,
                             .operation = "gemm_block_" + std::to_string(s % 97),
                             .kind = all_kinds[s % 4],
                             .kernel = "poplin::MatMulPartial<half>",
                             .metadata = {}};
            for (std::uint32_t m = 0; m < metadata_per_step; ++m) {
                step.metadata.push_back({"key" + std::to_string(m), std::to_string(s * 31 + m)});
            }
            tile.samples.push_back({std::move(step), cycle, cycle + 40 + s % 13});
            cycle += 64;
        }
        report.tiles.push_back(std::move(tile));
    }
    return report;
}

std::string encoded(const ProfileReport& report, std::uint32_t schema_version) {
    auto bytes = encode_profile(report, schema_version);
    if (!bytes) {
        throw std::runtime_error("cannot encode a fixture: " + bytes.error().debug());
    }
    return std::move(*bytes);
}

void write_report_file(const ProfileReport& report, const std::string& path,
                       std::uint32_t schema_version) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) {
        throw std::runtime_error("cannot create " + path);
    }
    const auto written = write_profile(report, schema_version, file);
    ::close(file);
    if (!written) {
        throw std::runtime_error("cannot write " + path + ": " + written.error().debug());
    }
}

}  // namespace ipu_package::fixtures
