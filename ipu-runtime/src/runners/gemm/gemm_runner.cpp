#include "gemm_runner.hpp"

#include <cstring>
#include <vector>

#include "cycle_profile.hpp"
#include "gemm_annotations.hpp"
#include "gemm_matrices.hpp"
#include "gemm_program.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_runner/device_settings.hpp"
#include "ipu_runner/mismatch.hpp"
#include "ipu_runner/physical_tile.hpp"
#include "ipu_runner/tile_io.hpp"
#include "ipu_runner_contract/names.hpp"

namespace ipu_gemm {
namespace {

using ipu_runner::RunnerFailure;

// Seed of the operands; any value would do, a fixed one makes runs comparable.
constexpr std::uint64_t operand_seed = 0x67656d6d;  // "gemm"

using Failure = std::unexpected<RunnerFailure>;

std::vector<std::uint8_t> bytes_of(std::span<const float> values) {
    std::vector<std::uint8_t> bytes(values.size_bytes());
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

// A(i,k) to its home product tile (i,0,k), B(k,j) to (0,j,k).
ipu_runner::DeviceStep write_operands(const GemmPlan& plan, const GemmInputs& inputs,
                                      ipu_sim::Device& device) {
    for (std::uint32_t outer = 0; outer < plan.grid; ++outer) {
        for (std::uint32_t k = 0; k < plan.grid; ++k) {
            const auto a = bytes_of(extract_block(inputs.a, plan, {outer, k}));
            if (auto written = ipu_runner::write_tile(device, plan.product_tile(outer, 0, k),
                                                      plan.a_address(), a);
                !written) {
                return written;
            }
            const auto b = bytes_of(extract_block(inputs.b, plan, {k, outer}));
            if (auto written = ipu_runner::write_tile(device, plan.product_tile(0, outer, k),
                                                      plan.b_address(), b);
                !written) {
                return written;
            }
        }
    }
    return {};
}

ipu_runner::DeviceStep compare_block(const GemmPlan& plan, const Matrix& expected,
                                     BlockCoordinate at, std::string check,
                                     std::span<const std::uint8_t> actual) {
    const auto reference = bytes_of(extract_block(expected, plan, at));
    const auto mismatch = ipu_runner::first_mismatch(std::move(check), plan.output_tile(at),
                                                     plan.sum_address(), reference, actual);
    if (mismatch) {
        return Failure(RunnerFailure(*mismatch));
    }
    return {};
}

ipu_runner::DeviceStep check_gathered_result(const GemmPlan& plan, const Matrix& expected,
                                             std::span<const std::uint8_t> results) {
    for (std::uint32_t i = 0; i < plan.grid; ++i) {
        for (std::uint32_t j = 0; j < plan.grid; ++j) {
            const auto checked = compare_block(
                plan, expected, {i, j}, "gathered output block " + block_label('C', {i, j}),
                results.subspan(result_offset(plan, {i, j}), plan.block_bytes()));
            if (!checked) {
                return checked;
            }
        }
    }
    return {};
}

ipu_runner::DeviceStep check_sram_block(const GemmPlan& plan, const Matrix& expected,
                                        BlockCoordinate at, ipu_sim::Device& device) {
    return ipu_runner::check_tile(
        device, ipu_runner::TileExpectation{"SRAM of output block " + block_label('C', at),
                                            plan.output_tile(at), plan.sum_address(),
                                            bytes_of(extract_block(expected, plan, at))});
}

// The profile lists every tile in logical order.
ipu_runner::DeviceStep write_cycle_profile(const GemmAnnotations& annotations,
                                           ipu_sim::Device& device, PendingProfileFile& file) {
    std::vector<TileSteps> tiles;
    tiles.reserve(ipu_exchange::c600_tile_count);
    for (std::uint16_t logical = 0; logical < ipu_exchange::c600_tile_count; ++logical) {
        const std::uint16_t physical = ipu_runner::physical_tile(logical);
        tiles.push_back(TileSteps{physical, device.steps(physical)});
    }
    auto report = build_profile(ipu_sim::device_clock_hz, tiles, annotations);
    if (!report) {
        return Failure(RunnerFailure(ipu_runner::ExitStatus::failed, "profile: " + report.error()));
    }
    if (const auto applied = apply_profile_fault(*report, device.fault())) {
        device.report_fault(*applied);
    }
    const auto committed = file.commit(*report);
    if (!committed) {
        return Failure(RunnerFailure(ipu_runner::SettingError{ipu_runner_contract::profile_output,
                                                              file.target(), committed.error()}));
    }
    return {};
}

std::string summary(const GemmSettings& settings, std::uint64_t cycles) {
    const GemmPlan& plan = settings.plan;
    const std::string n = std::to_string(plan.dimension);
    const std::string g = std::to_string(plan.grid);
    std::string line = n + " x " + n + " GEMM as " + g + " x " + g + " x " + g +
                       " block products of " + std::to_string(plan.block) + " x " +
                       std::to_string(plan.block) + " on " + std::to_string(plan.product_count()) +
                       " tiles matches the host product";
    if (settings.sram_check_block) {
        line += ", and so does output block " + block_label('C', *settings.sram_check_block) +
                " in tile SRAM";
    }
    line += "; " + std::to_string(cycles) + " cycles";
    if (settings.profile_output) {
        line += "; cycle profile of " + std::to_string(ipu_exchange::c600_tile_count) +
                " tiles written to " + *settings.profile_output;
    }
    return line;
}

// The temporary file for the profile that `settings` asks for; nothing when no
// profile is asked for.
std::expected<std::optional<PendingProfileFile>, RunnerFailure> open_profile_file(
    const GemmSettings& settings) {
    if (!settings.profile_output) {
        return std::nullopt;
    }
    auto file = PendingProfileFile::create(*settings.profile_output);
    if (!file) {
        return Failure(RunnerFailure(ipu_runner::SettingError{
            ipu_runner_contract::profile_output, *settings.profile_output, file.error()}));
    }
    return std::optional<PendingProfileFile>(std::move(*file));
}

}  // namespace

ipu_runner::RunnerOutcome run_gemm(const GemmSettings& settings, ipu_sim::Device& device,
                                   std::optional<PendingProfileFile> profile) {
    const GemmPlan& plan = settings.plan;
    const GemmInputs inputs = make_gemm_inputs(plan.dimension, operand_seed);

    if (auto written = write_operands(plan, inputs, device); !written) {
        return Failure(std::move(written.error()));
    }
    device.fence();

    const auto results = device.create_host_buffer(plan.grid * plan.grid * plan.block_bytes());
    const auto program = build_gemm_program(plan, results);
    const auto cycles = ipu_runner::run_built_program(device, program, "GEMM exchange schedule",
                                                      "the GEMM program");
    if (!cycles) {
        return Failure(cycles.error());
    }

    const Matrix expected = reference_product(inputs.a, inputs.b);
    if (auto checked = check_gathered_result(plan, expected, device.host_buffer(results));
        !checked) {
        return Failure(std::move(checked.error()));
    }
    if (settings.sram_check_block) {
        if (auto checked = check_sram_block(plan, expected, *settings.sram_check_block, device);
            !checked) {
            return Failure(std::move(checked.error()));
        }
    }
    if (profile) {
        const GemmAnnotations annotations(plan, *program);
        if (auto written = write_cycle_profile(annotations, device, *profile); !written) {
            return Failure(std::move(written.error()));
        }
    }
    return summary(settings, cycles->end_cycle - cycles->start_cycle);
}

ipu_runner::RunnerOutcome run_gemm_e2e() {
    const auto settings = gemm_settings_from_environment();
    if (!settings) {
        return Failure(settings.error());
    }
    auto config = ipu_runner::device_config_setting();
    if (!config) {
        return Failure(config.error());
    }
    // Step records are what the profile is made of; without a profile, skip them.
    config->record_steps = settings->profile_output.has_value();
    ipu_sim::Device device(std::move(*config));
    auto profile = open_profile_file(*settings);
    if (!profile) {
        return Failure(std::move(profile.error()));
    }
    return run_gemm(*settings, device, std::move(*profile));
}

}  // namespace ipu_gemm
