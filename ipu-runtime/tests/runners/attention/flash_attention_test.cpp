#include "flash_attention.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "attention_inputs.hpp"
#include "attention_reference.hpp"

namespace ipu_attention {
namespace {

std::vector<_Float16> filled(std::size_t count, auto value_of) {
    std::vector<_Float16> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = static_cast<_Float16>(value_of(i));
    }
    return values;
}

// Within half an FP16 ulp of the exact value, plus room for FP32 summation.
void expect_correctly_rounded(const std::vector<_Float16>& actual,
                              const std::vector<double>& exact) {
    ASSERT_EQ(actual.size(), exact.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const double half_ulp = std::ldexp(1.0, std::ilogb(exact[i]) - 11);
        ASSERT_NEAR(static_cast<double>(actual[i]), exact[i], half_ulp + 2e-5 * std::fabs(exact[i]))
            << "element " << i;
    }
}

TEST(FlashAttention, OnlineSoftmaxMatchesTheExactSoftmaxForAnyKeyBlocking) {
    const struct {
        std::uint32_t rows, keys, head_dim, key_block;
    } cases[] = {
        {1, 1, 1, 1},      // a single key: the output is its value
        {5, 13, 3, 4},     // ragged last block
        {2, 10, 4, 1},     // one key per block: the running maximum moves often
        {2, 10, 4, 1000},  // one block larger than the sequence
        {3, 64, 16, 64},   // exactly one full block
        {4, 65, 8, 64},    // a last block of one key
        {6, 197, 32, 64},  // the encoder sequence length
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, " << c.keys << " keys, dim "
                                        << c.head_dim << ", key block " << c.key_block);
        const AttentionInputs inputs =
            make_attention_inputs(AttentionShape{1, 1, c.keys, c.head_dim}, c.keys);
        const auto query = std::span(inputs.query).first(std::size_t{c.rows} * c.head_dim);
        std::vector<_Float16> output(query.size());
        flash_attention(query, inputs.key, inputs.value, c.head_dim, c.key_block,
                        Accumulation::fp32, output);
        expect_correctly_rounded(output,
                                 reference_attention(query, inputs.key, inputs.value, c.head_dim));
    }
}

// Scores up to 8 * 24 = 192 overflow exp() in FP32 unless each block subtracts
// the running maximum; rising scores move the maximum in every block, falling
// ones never after the first.
TEST(FlashAttention, LargeScoresStayFiniteWhicheverBlockHoldsTheMaximum) {
    constexpr std::uint32_t keys = 24;
    constexpr std::uint32_t head_dim = 16;
    const auto query = filled(head_dim, [](std::size_t) { return 4.0f; });
    const auto values = filled(
        keys * head_dim, [](std::size_t i) { return 0.5f + static_cast<float>(i % 7) * 0.125f; });
    for (const bool rising : {true, false}) {
        SCOPED_TRACE(rising ? "rising scores" : "falling scores");
        const auto key = filled(keys * head_dim, [&](std::size_t i) {
            const std::size_t j = i / head_dim;
            return 0.5f * static_cast<float>(rising ? j + 1 : keys - j);
        });
        std::vector<_Float16> output(head_dim);
        flash_attention(query, key, values, head_dim, 5, Accumulation::fp32, output);
        expect_correctly_rounded(output, reference_attention(query, key, values, head_dim));
    }
}

TEST(FlashAttention, Fp16AccumulationLosesSeveralUlpsOnAnEncoderSequence) {
    const AttentionInputs inputs = make_attention_inputs(AttentionShape{1, 1, 197, 64}, 3);
    const auto exact = reference_attention(inputs.query, inputs.key, inputs.value, 64);
    std::vector<_Float16> fp32(inputs.query.size());
    std::vector<_Float16> fp16(inputs.query.size());
    flash_attention(inputs.query, inputs.key, inputs.value, 64, 64, Accumulation::fp32, fp32);
    flash_attention(inputs.query, inputs.key, inputs.value, 64, 64, Accumulation::fp16, fp16);
    EXPECT_LE(max_abs_error(fp32, exact).error, 0x1p-11 * 1.01);
    EXPECT_GT(max_abs_error(fp16, exact).error, 4 * 0x1p-11);
}

TEST(AttentionInputs, AreReproducibleFromTheSeedAndInRange) {
    const AttentionShape shape{2, 3, 5, 4};
    const AttentionInputs first = make_attention_inputs(shape, 42);
    const AttentionInputs again = make_attention_inputs(shape, 42);
    const AttentionInputs other = make_attention_inputs(shape, 43);
    ASSERT_EQ(first.query.size(), shape.tensor_elements());
    EXPECT_EQ(first.query, again.query);
    EXPECT_EQ(first.value, again.value);
    EXPECT_NE(first.key, other.key);
    for (std::size_t i = 0; i < first.query.size(); ++i) {
        ASSERT_LE(std::fabs(static_cast<float>(first.key[i])), 1.5f);
        ASSERT_GE(static_cast<float>(first.value[i]), 0.25f);
        ASSERT_LE(static_cast<float>(first.value[i]), 1.75f);
    }
}

TEST(MaxAbsError, FindsTheFirstWorstElementAndStopsAtNan) {
    const auto half = [](float value) { return static_cast<_Float16>(value); };
    const std::vector<_Float16> actual{half(1.0f), half(2.0f), half(std::nanf("")), half(3.0f),
                                       half(0.0f)};
    const std::vector<double> exact{1.5, 1.5, 1.0, 0.0, 3.0};
    const WorstError before_nan =
        max_abs_error(std::span(actual).first(2), std::span(exact).first(2));
    EXPECT_EQ(before_nan.error, 0.5);
    EXPECT_EQ(before_nan.index, 0u);
    const WorstError all = max_abs_error(actual, exact);
    EXPECT_TRUE(std::isnan(all.error));
    EXPECT_EQ(all.index, 2u);
    EXPECT_EQ(max_abs_error(std::span(actual).last(2), std::span(exact).last(2)).index, 0u)
        << "ties keep the first";
}

}  // namespace
}  // namespace ipu_attention
