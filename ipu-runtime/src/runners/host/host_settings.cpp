#include "host_settings.hpp"

#include "alias_sentinels.hpp"
#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_runner_contract/names.hpp"

namespace ipu_host_runner {

namespace contract = ipu_runner_contract;
namespace {

using ipu_exchange::c600_tile_sram_bytes;
using ipu_runner::setting_conflict;
using ipu_runner::SettingError;

// Each relayed tile needs a partner outside the list of tiles.
constexpr std::size_t max_relayed_tiles = ipu_exchange::c600_tile_count / 2;

struct Switches {
    bool d2h_only;
    bool remote_d2h;
    bool exchange;
    bool initialized_exchange;
    bool compute_relay;
};

ipu_runner::Setting<Switches> read_switches() {
    Switches switches{};
    const std::pair<const char*, bool*> table[] = {
        {contract::host_test_d2h_only, &switches.d2h_only},
        {contract::host_test_remote_d2h, &switches.remote_d2h},
        {contract::host_test_exchange, &switches.exchange},
        {contract::host_test_initialized_exchange, &switches.initialized_exchange},
        {contract::host_test_compute_relay, &switches.compute_relay},
    };
    for (const auto& [variable, on] : table) {
        const auto value = ipu_runner::switch_setting(variable);
        if (!value) {
            return std::unexpected(value.error());
        }
        *on = *value;
    }
    return switches;
}

ipu_runner::Setting<std::vector<std::uint16_t>> read_tiles() {
    const auto tile = ipu_runner::tile_setting(contract::host_test_tile);
    if (!tile) {
        return std::unexpected(tile.error());
    }
    auto tiles = ipu_runner::tile_list_setting(contract::host_test_tiles);
    if (!tiles) {
        return std::unexpected(tiles.error());
    }
    if (*tile && *tiles) {
        return std::unexpected(setting_conflict(contract::host_test_tile,
                                                "set together with IPU_HOST_TEST_TILES; set one"));
    }
    if (*tiles) {
        return std::move(**tiles);
    }
    return std::vector<std::uint16_t>{tile->value_or(default_tile)};
}

}  // namespace

ipu_runner::Setting<HostSettings> read_host_settings() {
    auto tiles = read_tiles();
    if (!tiles) {
        return std::unexpected(tiles.error());
    }
    const auto bytes = ipu_runner::decimal_setting(contract::host_test_bytes, c600_tile_sram_bytes);
    if (!bytes) {
        return std::unexpected(bytes.error());
    }
    const auto address =
        ipu_runner::number_setting(contract::host_test_address, c600_tile_sram_bytes - 1);
    if (!address) {
        return std::unexpected(address.error());
    }
    const auto switches = read_switches();
    if (!switches) {
        return std::unexpected(switches.error());
    }

    HostSettings settings{
        .tiles = std::move(*tiles),
        .bytes = static_cast<std::uint32_t>(bytes->value_or(default_bytes)),
        .address = static_cast<std::uint32_t>(address->value_or(default_address)),
        .source = switches->d2h_only || switches->remote_d2h || switches->initialized_exchange
                      ? HostSource::device_init
                      : HostSource::host_write,
        .path = switches->compute_relay ? HostPath::compute_relay
                : switches->exchange    ? HostPath::relay
                                        : HostPath::direct,
        .tiles_send_to_host = switches->remote_d2h,
    };

    if (settings.bytes == 0) {
        return std::unexpected(setting_conflict(contract::host_test_bytes, "must be at least 1"));
    }
    if (std::uint64_t{settings.address} + settings.bytes > c600_tile_sram_bytes) {
        const std::string problem = "the range of " + std::to_string(settings.bytes) +
                                    " bytes at " + std::to_string(settings.address) +
                                    " runs past the end of the tile's " +
                                    std::to_string(c600_tile_sram_bytes) + " bytes of SRAM";
        return std::unexpected(setting_conflict(
            *address ? contract::host_test_address : contract::host_test_bytes, problem));
    }
    const bool relayed = settings.path != HostPath::direct;
    const std::uint64_t holders = settings.tiles.size() * (relayed ? 2u : 1u);
    const std::uint64_t per_tile =
        settings.bytes + alias_sentinel_bytes(settings.address, settings.bytes);
    if (holders * per_tile > max_total_bytes) {
        return std::unexpected(
            setting_conflict(contract::host_test_bytes,
                             std::to_string(holders) + " tiles of " + std::to_string(per_tile) +
                                 " bytes (data and alias sentinels) exceed the " +
                                 std::to_string(max_total_bytes >> 20) + " MiB a run may move"));
    }
    if (relayed && settings.tiles.size() > max_relayed_tiles) {
        return std::unexpected(
            setting_conflict(contract::host_test_tiles,
                             "more than " + std::to_string(max_relayed_tiles) +
                                 " tiles cannot each have a relay partner outside the list"));
    }
    if (switches->initialized_exchange && !relayed) {
        return std::unexpected(setting_conflict(
            contract::host_test_initialized_exchange,
            "needs IPU_HOST_TEST_EXCHANGE or IPU_HOST_TEST_COMPUTE_RELAY set to 1"));
    }
    return settings;
}

}  // namespace ipu_host_runner
