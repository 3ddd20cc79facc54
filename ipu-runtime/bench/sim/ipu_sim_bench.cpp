// How fast the simulated device moves data, each against a plain memcpy of the same
// bytes in the same run: an all-tile permutation exchange, and host H2D + D2H round
// trips. At the end each device figure is printed as a fraction of its baseline.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench_support/ratio_reporter.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_sim/device.hpp"

namespace {

using namespace ipu_sim;

constexpr std::uint16_t tile_count = ipu_exchange::c600_tile_count;
constexpr std::uint32_t block_bytes = 16 * 1024;  // per tile in the permutation
constexpr std::uint16_t host_tiles = 64;          // tiles of a host round trip
constexpr std::uint32_t host_bytes = 64 * 1024;   // per tile in a host round trip

std::uint16_t permuted(std::uint16_t tile) {
    return static_cast<std::uint16_t>((tile * 7u + 3u) % tile_count);
}

std::vector<std::uint8_t> block(std::uint32_t length, unsigned seed) {
    std::vector<std::uint8_t> bytes(length);
    for (std::uint32_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31u + seed);
    }
    return bytes;
}

void permutation_exchange(benchmark::State& state) {
    Device device(DeviceConfig{.record_steps = false});
    std::vector<ipu_exchange::ExchangeTransfer> transfers;
    for (std::uint16_t tile = 0; tile < tile_count; ++tile) {
        if (!device.host_write(tile, 0, block(block_bytes, tile)).has_value()) {
            state.SkipWithError("host write refused");
            return;
        }
        transfers.push_back({tile, 0, block_bytes, {{permuted(tile), block_bytes}}});
    }
    device.fence();
    auto schedule = ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
    if (!schedule) {
        state.SkipWithError("permutation did not compile");
        return;
    }
    const Program program{{Superstep{.operation = "permutation", .exchange = *schedule}}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(device.run(program));
    }
    if (device.host_read(permuted(0), block_bytes, block_bytes) != block(block_bytes, 0)) {
        state.SkipWithError("permutation moved the wrong bytes");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * tile_count *
                            block_bytes);
}

void permutation_memcpy(benchmark::State& state) {
    std::vector<std::vector<std::uint8_t>> from, to;
    for (std::uint16_t tile = 0; tile < tile_count; ++tile) {
        from.push_back(block(block_bytes, tile));
        to.emplace_back(block_bytes);
    }
    for (auto _ : state) {
        for (std::uint16_t tile = 0; tile < tile_count; ++tile) {
            std::memcpy(to[permuted(tile)].data(), from[tile].data(), block_bytes);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * tile_count *
                            block_bytes);
}

void host_round_trip(benchmark::State& state) {
    Device device(DeviceConfig{.record_steps = false});
    std::vector<std::vector<std::uint8_t>> data,
        back(host_tiles, std::vector<std::uint8_t>(host_bytes));
    for (std::uint16_t tile = 0; tile < host_tiles; ++tile) {
        data.push_back(block(host_bytes, tile));
    }
    for (auto _ : state) {
        for (std::uint16_t tile = 0; tile < host_tiles; ++tile) {
            benchmark::DoNotOptimize(device.host_write(tile * 23, 0, data[tile]));
        }
        device.fence();
        for (std::uint16_t tile = 0; tile < host_tiles; ++tile) {
            benchmark::DoNotOptimize(device.host_read(tile * 23, 0, back[tile]));
        }
    }
    if (back != data) {
        state.SkipWithError("host round trip changed the bytes");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2 * host_tiles *
                            host_bytes);
}

void host_round_trip_memcpy(benchmark::State& state) {
    std::vector<std::vector<std::uint8_t>> data,
        middle(host_tiles, std::vector<std::uint8_t>(host_bytes)),
        back(host_tiles, std::vector<std::uint8_t>(host_bytes));
    for (std::uint16_t tile = 0; tile < host_tiles; ++tile) {
        data.push_back(block(host_bytes, tile));
    }
    for (auto _ : state) {
        for (std::uint16_t tile = 0; tile < host_tiles; ++tile) {
            std::memcpy(middle[tile].data(), data[tile].data(), host_bytes);
        }
        for (std::uint16_t tile = 0; tile < host_tiles; ++tile) {
            std::memcpy(back[tile].data(), middle[tile].data(), host_bytes);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2 * host_tiles *
                            host_bytes);
}

BENCHMARK(permutation_memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(permutation_exchange)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(host_round_trip_memcpy)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(host_round_trip)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    return bench_support::run_benchmarks(argc, argv,
                                         {{"permutation_exchange", "permutation_memcpy"},
                                          {"host_round_trip", "host_round_trip_memcpy"}});
}
