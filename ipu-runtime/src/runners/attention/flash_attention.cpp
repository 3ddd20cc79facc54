#include "flash_attention.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <vector>

#include "fp16_hardware.hpp"

namespace ipu_attention {
namespace {

std::vector<float> widen(std::span<const _Float16> values) {
    return std::vector<float>(values.begin(), values.end());
}

// Loops index raw pointers: they run over every score of every head, and a debug
// build must stay quick. Inlined into each clone below.
template <typename Accumulator>
[[gnu::always_inline]] inline void attend(std::span<const _Float16> query_rows,
                                          std::span<const _Float16> keys,
                                          std::span<const _Float16> values, std::size_t head_dim,
                                          std::size_t key_block, std::span<_Float16> output_rows) {
    const std::vector<float> key = widen(keys);
    const std::vector<float> value = widen(values);
    const std::size_t key_count = key.size() / head_dim;
    const std::size_t row_count = query_rows.size() / head_dim;
    const float scale = 1.0f / std::sqrt(static_cast<float>(head_dim));

    std::vector<float> query(head_dim);
    std::vector<float> scores(key_block);
    std::vector<Accumulator> weighted_sum(head_dim);
    for (std::size_t row = 0; row < row_count; ++row) {
        std::copy_n(query_rows.begin() + static_cast<std::ptrdiff_t>(row * head_dim), head_dim,
                    query.begin());
        float running_max = -std::numeric_limits<float>::infinity();
        auto running_sum = Accumulator{0};
        std::fill(weighted_sum.begin(), weighted_sum.end(), Accumulator{0});
        Accumulator* sum = weighted_sum.data();

        for (std::size_t first = 0; first < key_count; first += key_block) {
            const std::size_t count = std::min(key_block, key_count - first);
            float block_max = -std::numeric_limits<float>::infinity();
            for (std::size_t j = 0; j < count; ++j) {
                const float* q = query.data();
                const float* k = key.data() + (first + j) * head_dim;
                auto dot = Accumulator{0};
                for (std::size_t f = 0; f < head_dim; ++f) {
                    dot += static_cast<Accumulator>(q[f] * k[f]);
                }
                scores[j] = static_cast<float>(dot) * scale;
                block_max = std::max(block_max, scores[j]);
            }

            const float new_max = std::max(running_max, block_max);
            const float rescale = std::exp(running_max - new_max);
            running_sum = static_cast<Accumulator>(static_cast<float>(running_sum) * rescale);
            for (std::size_t f = 0; f < head_dim; ++f) {
                sum[f] = static_cast<Accumulator>(static_cast<float>(sum[f]) * rescale);
            }
            for (std::size_t j = 0; j < count; ++j) {
                const float weight = std::exp(scores[j] - new_max);
                running_sum += static_cast<Accumulator>(weight);
                const float* v = value.data() + (first + j) * head_dim;
                for (std::size_t f = 0; f < head_dim; ++f) {
                    sum[f] += static_cast<Accumulator>(weight * v[f]);
                }
            }
            running_max = new_max;
        }

        const float denominator = static_cast<float>(running_sum);
        for (std::size_t f = 0; f < head_dim; ++f) {
            output_rows[row * head_dim + f] =
                static_cast<_Float16>(static_cast<float>(sum[f]) / denominator);
        }
    }
}

IPU_FP16_HARDWARE_CLONES
void attend_fp32(std::span<const _Float16> query_rows, std::span<const _Float16> keys,
                 std::span<const _Float16> values, std::size_t head_dim, std::size_t key_block,
                 std::span<_Float16> output_rows) {
    attend<float>(query_rows, keys, values, head_dim, key_block, output_rows);
}

IPU_FP16_HARDWARE_CLONES
void attend_fp16(std::span<const _Float16> query_rows, std::span<const _Float16> keys,
                 std::span<const _Float16> values, std::size_t head_dim, std::size_t key_block,
                 std::span<_Float16> output_rows) {
    attend<_Float16>(query_rows, keys, values, head_dim, key_block, output_rows);
}

}  // namespace

void flash_attention(std::span<const _Float16> query_rows, std::span<const _Float16> keys,
                     std::span<const _Float16> values, std::uint32_t head_dim,
                     std::uint32_t key_block, Accumulation accumulation,
                     std::span<_Float16> output_rows) {
    assert(head_dim >= 1 && key_block >= 1);
    assert(!keys.empty() && keys.size() == values.size() && keys.size() % head_dim == 0);
    assert(query_rows.size() % head_dim == 0 && output_rows.size() == query_rows.size());
    if (accumulation == Accumulation::fp16) {
        attend_fp16(query_rows, keys, values, head_dim, key_block, output_rows);
    } else {
        attend_fp32(query_rows, keys, values, head_dim, key_block, output_rows);
    }
}

}  // namespace ipu_attention
