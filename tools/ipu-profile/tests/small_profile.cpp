#include "small_profile.hpp"

#include <fstream>
#include <sstream>

namespace ipu_profile::testing {
namespace {

using ipu_package::CycleSample;
using ipu_package::ProfileStep;
using ipu_package::ProfileStepKind;

CycleSample sample(ProfileStepKind kind, std::string operation, std::string kernel,
                   std::uint32_t start, std::uint32_t end) {
    return CycleSample{
        .step = ProfileStep{.local_index = start,
                            .phase = 1,
                            .epoch = 2,
                            .operation = std::move(operation),
                            .kind = kind,
                            .kernel = std::move(kernel),
                            .metadata = {}},
        .start_cycle = start,
        .end_cycle = end,
    };
}

}  // namespace

ipu_package::ProfileReport small_report() {
    CycleSample with_metadata = sample(ProfileStepKind::Compute, "matmul", "mm16", 160, 460);
    with_metadata.step.metadata = {{"block", "3"}, {"block", "4"}};
    return ipu_package::ProfileReport{
        .clock_hz = 1'000'000'000,
        .tiles =
            {
                {.physical_tile = 65,
                 .samples = {sample(ProfileStepKind::Exchange, "load", "dma", 100, 160),
                             with_metadata,
                             sample(ProfileStepKind::Idle, "wait", "idle", 460, 500)}},
                {.physical_tile = 2,
                 .samples = {sample(ProfileStepKind::Compute, "matmul", "mm16", 120, 220),
                             sample(ProfileStepKind::Synchronization, "sync", "barrier", 220, 230),
                             sample(ProfileStepKind::Compute, "matmul", "mm8", 400, 300)}},
                {.physical_tile = 65,
                 .samples = {sample(ProfileStepKind::Compute, "matmul", "mm16", 500, 520)}},
                {.physical_tile = 1471, .samples = {}},
            },
    };
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace ipu_profile::testing
