#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gemm_plan.hpp"
#include "ipu_package/profile_report.hpp"
#include "ipu_sim/program.hpp"
#include "ipu_sim/step_record.hpp"

namespace ipu_gemm {

// What the GEMM's recorded steps mean, as profile metadata: the blocks each compute
// step works on ("block" = "A(i,k) x B(k,j)" for a product, "C(i,j)" for a sum) and
// the peers of each exchange step ("peer tiles": the physical tiles it sent to or
// received from in that phase, ascending, and "host" for a send to the host).
// Usable as a StepAnnotator; steps of other runs or tiles get nothing.
class GemmAnnotations {
  public:
    GemmAnnotations(const GemmPlan& plan, const ipu_sim::Program& program);

    std::vector<ipu_package::ProfileMetadata> operator()(std::uint16_t physical_tile,
                                                         const ipu_sim::StepRecord& step) const;

  private:
    struct Product {
        std::uint32_t i, j, k;
    };
    struct Peers {
        std::vector<std::uint16_t> tiles;
        bool host = false;
    };

    std::map<std::uint16_t, Product> products_;
    std::vector<std::map<std::uint16_t, Peers>> peers_by_phase_;
};

}  // namespace ipu_gemm
