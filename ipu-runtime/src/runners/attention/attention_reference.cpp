#include "attention_reference.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "fp16_hardware.hpp"

namespace ipu_attention {

std::vector<double> reference_attention(std::span<const _Float16> query_rows,
                                        std::span<const _Float16> keys,
                                        std::span<const _Float16> values, std::uint32_t head_dim) {
    assert(head_dim >= 1 && !keys.empty() && keys.size() == values.size());
    const std::size_t d = head_dim;
    const std::size_t key_count = keys.size() / d;
    const std::size_t row_count = query_rows.size() / d;
    const double scale = 1.0 / std::sqrt(static_cast<double>(d));
    const std::vector<double> query(query_rows.begin(), query_rows.end());
    const std::vector<double> key(keys.begin(), keys.end());
    const std::vector<double> value(values.begin(), values.end());

    std::vector<double> output(query_rows.size());
    std::vector<double> weights(key_count);
    for (std::size_t row = 0; row < row_count; ++row) {
        double max_score = -std::numeric_limits<double>::infinity();
        const double* q = query.data() + row * d;
        for (std::size_t j = 0; j < key_count; ++j) {
            const double* k = key.data() + j * d;
            double dot = 0.0;
            for (std::size_t f = 0; f < d; ++f) {
                dot += q[f] * k[f];
            }
            weights[j] = dot * scale;
            max_score = std::max(max_score, weights[j]);
        }
        double total = 0.0;
        for (double& weight : weights) {
            weight = std::exp(weight - max_score);
            total += weight;
        }
        double* out = output.data() + row * d;
        for (std::size_t j = 0; j < key_count; ++j) {
            const double* v = value.data() + j * d;
            for (std::size_t f = 0; f < d; ++f) {
                out[f] += weights[j] * v[f];
            }
        }
        for (std::size_t f = 0; f < d; ++f) {
            out[f] /= total;
        }
    }
    return output;
}

IPU_FP16_HARDWARE_CLONES
std::vector<_Float16> plain_fp16_attention(std::span<const _Float16> query_rows,
                                           std::span<const _Float16> keys,
                                           std::span<const _Float16> values,
                                           std::uint32_t head_dim) {
    assert(head_dim >= 1 && !keys.empty() && keys.size() == values.size());
    using half = _Float16;
    const std::size_t d = head_dim;
    const std::size_t key_count = keys.size() / d;
    const std::size_t row_count = query_rows.size() / d;
    const auto scale = static_cast<half>(1.0f / std::sqrt(static_cast<float>(d)));

    std::vector<half> output(query_rows.size());
    std::vector<half> weights(key_count);
    for (std::size_t row = 0; row < row_count; ++row) {
        const half* q = query_rows.data() + row * d;
        auto max_score = -std::numeric_limits<half>::infinity();
        for (std::size_t j = 0; j < key_count; ++j) {
            const half* k = keys.data() + j * d;
            auto dot = half{0};
            for (std::size_t f = 0; f < d; ++f) {
                dot += q[f] * k[f];
            }
            weights[j] = dot * scale;
            if (weights[j] > max_score) {
                max_score = weights[j];
            }
        }
        auto total = half{0};
        for (half& weight : weights) {
            weight = static_cast<half>(std::exp(static_cast<float>(weight - max_score)));
            total += weight;
        }
        half* out = output.data() + row * d;
        std::fill_n(out, d, half{0});
        for (std::size_t j = 0; j < key_count; ++j) {
            const half probability = weights[j] / total;
            const half* v = values.data() + j * d;
            for (std::size_t f = 0; f < d; ++f) {
                out[f] += probability * v[f];
            }
        }
    }
    return output;
}

WorstError max_abs_error(std::span<const _Float16> actual, std::span<const double> reference) {
    assert(actual.size() == reference.size());
    WorstError worst;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const double error = std::fabs(static_cast<double>(actual[i]) - reference[i]);
        if (std::isnan(error)) {
            return WorstError{error, i};
        }
        if (error > worst.error) {
            worst = WorstError{error, i};
        }
    }
    return worst;
}

}  // namespace ipu_attention
