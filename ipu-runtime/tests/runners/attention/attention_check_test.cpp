#include "attention_check.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "attention_runner.hpp"
#include "flash_attention.hpp"

namespace ipu_attention {
namespace {

const AttentionShape shape{2, 3, 5, 4};

AttentionErrors errors(double device, double plain, std::size_t index = 0) {
    return AttentionErrors{WorstError{device, index}, 1.0, 1.0 + device, plain};
}

TEST(JudgeErrors, PassesOnlyWithinBothTheBoundAndTheMultipleOfPlainFp16) {
    const struct {
        double device, plain;
        bool passes;
    } cases[] = {
        {4.9e-4, 9e-3, true},        {0.0, 0.0, true},
        {error_bound, 1.0, true},    {error_bound * 1.01, 1.0, false},  // above the fixed bound
        {1e-3, 4e-4, false},          // more than twice plain FP16
        {1e-3, 5e-4, true},           // exactly twice
        {std::nan(""), 9e-3, false},  // a NaN output
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!judge_errors(shape, errors(c.device, c.plain)).has_value(), c.passes)
            << c.device << " against plain " << c.plain;
    }
}

TEST(JudgeErrors, NamesTheWorstElementAndTheLimitItBroke) {
    // Element 97 of a [2][3][5][4] tensor: batch 1, head 1, token 4, feature 1.
    EXPECT_EQ(judge_errors(shape, errors(0.01, 0.02, 97)),
              "max |error| 1.00e-02 at batch 1, head 1, token 4, feature 1 (exact 1.000000, "
              "output 1.010000) is above the bound 1.95e-03");
    EXPECT_EQ(judge_errors(shape, errors(1e-3, 1e-4, 0)),
              "max |error| 1.00e-03 at batch 0, head 0, token 0, feature 0 (exact 1.000000, "
              "output 1.001000) is above 2.00e+00 x the plain FP16 error 1.00e-04");
}

TEST(MeasureErrors, FindTheWorstElementAcrossHeads) {
    const AttentionInputs inputs = make_attention_inputs(shape, 11);
    std::vector<_Float16> output(shape.tensor_elements());
    for (std::size_t head = 0; head < shape.head_count(); ++head) {
        const auto query = inputs.head_slice(inputs.query, head);
        flash_attention(query, inputs.head_slice(inputs.key, head),
                        inputs.head_slice(inputs.value, head), shape.head_dim, 2,
                        Accumulation::fp32, std::span(output).subspan(head * 20, 20));
    }
    const AttentionErrors exact = measure_errors(inputs, output);
    EXPECT_LE(exact.device.error, 0x1p-11 * 1.01);
    EXPECT_EQ(judge_errors(shape, exact), std::nullopt);

    output[97] = static_cast<_Float16>(static_cast<float>(output[97]) + 0.25f);
    const AttentionErrors broken = measure_errors(inputs, output);
    EXPECT_EQ(broken.device.index, 97u);
    EXPECT_NEAR(broken.device.error, 0.25, 0x1p-10);
    EXPECT_EQ(broken.output_at_worst, static_cast<double>(output[97]));
}

// On the device: the fault a codelet applies itself, and one the device applies
// to the shared keys and values, both end the run on the first shape.
TEST(AttentionRun, DeviceFaultsFailTheFirstShape) {
    for (const ipu_sim::Fault fault :
         {ipu_sim::Fault::Fp16Accumulation, ipu_sim::Fault::MulticastReceiverDrop}) {
        SCOPED_TRACE(std::string(ipu_sim::fault_name(fault)));
        std::vector<std::string> reports;
        std::vector<std::string> lines;
        ipu_sim::Device device(ipu_sim::DeviceConfig{
            .fault = fault,
            .fault_sink = [&](std::string_view line) { reports.emplace_back(line); },
            .record_steps = false});
        const auto outcome =
            run_attention(device, [&](const std::string& line) { lines.push_back(line); });
        ASSERT_FALSE(outcome.has_value());
        EXPECT_EQ(outcome.error().status, ipu_runner::ExitStatus::failed);
        EXPECT_EQ(outcome.error().line.rfind(describe(encoder_shapes()[0]) + ": max |error| ", 0),
                  0u)
            << outcome.error().line;
        EXPECT_TRUE(lines.empty());
        EXPECT_EQ(reports.size(), 1u);
    }
}

}  // namespace
}  // namespace ipu_attention
