#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "attention_reference.hpp"
#include "flash_attention.hpp"

namespace ipu_attention {
namespace {

float to_half(float value) {
    return static_cast<float>(static_cast<_Float16>(value));
}

TEST(Fp16Rounding, ConversionRoundsToNearestWithTiesToEven) {
    const float infinity = std::numeric_limits<float>::infinity();
    const struct {
        float input;
        float expected;
    } cases[] = {
        {1.0f + 0x1p-11f, 1.0f},                        // tie, even neighbour below
        {1.0f + 3 * 0x1p-11f, 1.0f + 0x1p-9f},          // tie, even neighbour above
        {1.0f + 0x1p-11f + 0x1p-20f, 1.0f + 0x1p-10f},  // just above the tie
        {-(1.0f + 0x1p-11f), -1.0f},
        {2049.0f, 2048.0f},
        {2051.0f, 2052.0f},
        {65519.0f, 65504.0f},  // below the overflow threshold
        {65520.0f, infinity},  // the threshold itself rounds up to infinity
        {0x1p-25f, 0.0f},      // half the smallest subnormal: tie to zero
        {3 * 0x1p-25f, 0x1p-23f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(to_half(c.input), c.expected) << "input " << c.input;
    }
}

TEST(Fp16Rounding, ArithmeticRoundsEveryOperation) {
    const auto one = static_cast<_Float16>(1.0f);
    const auto tiny = static_cast<_Float16>(0x1p-11f);
    const auto step = static_cast<_Float16>(1.0f + 0x1p-10f);
    EXPECT_EQ(static_cast<float>(one + tiny), 1.0f);
    EXPECT_EQ(static_cast<float>(one + tiny + tiny), 1.0f) << "each sum is rounded";
    EXPECT_EQ(static_cast<float>(one + (tiny + tiny)), 1.0f + 0x1p-10f);
    EXPECT_EQ(static_cast<float>(step * step), 1.0f + 0x1p-9f) << "1 + 2^-9 + 2^-20 rounded";
}

// Four keys with equal scores weight the values 1/4 each; the weighted sum
// 4 + 2^-9 + 2^-9 + 0 lands on a tie twice in FP16 (and rounds back to 4 both
// times), but is exact in FP32. The kernels' FP16 paths must show the ties.
TEST(Fp16Rounding, KernelsRoundAccumulationInFp16AndKeepItInFp32) {
    const std::array<_Float16, 1> query{static_cast<_Float16>(0.0f)};
    const std::array<_Float16, 4> keys{};
    const std::array<_Float16, 4> values{
        static_cast<_Float16>(4.0f), static_cast<_Float16>(0x1p-9f), static_cast<_Float16>(0x1p-9f),
        static_cast<_Float16>(0.0f)};

    std::array<_Float16, 1> output{};
    flash_attention(query, keys, values, 1, 4, Accumulation::fp32, output);
    EXPECT_EQ(static_cast<float>(output[0]), 1.0f + 0x1p-10f);
    flash_attention(query, keys, values, 1, 4, Accumulation::fp16, output);
    EXPECT_EQ(static_cast<float>(output[0]), 1.0f);

    // The plain FP16 computation weights first (4 * 1/4 = 1, 2^-9 / 4 = 2^-11),
    // then sums 1 + 2^-11 + 2^-11 + 0, again two ties that round down.
    EXPECT_EQ(static_cast<float>(plain_fp16_attention(query, keys, values, 1)[0]), 1.0f);
    EXPECT_DOUBLE_EQ(reference_attention(query, keys, values, 1)[0], 1.0 + 0x1p-10);
}

}  // namespace
}  // namespace ipu_attention
