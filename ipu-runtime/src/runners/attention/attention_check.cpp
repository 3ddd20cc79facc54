#include "attention_check.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ipu_attention {
namespace {

std::string scientific(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2e", value);
    return text;
}

std::string element_name(const AttentionShape& shape, std::size_t index) {
    const std::size_t feature = index % shape.head_dim;
    const std::size_t token = index / shape.head_dim % shape.sequence;
    const std::size_t head = index / shape.head_elements() % shape.heads;
    const std::size_t batch = index / shape.head_elements() / shape.heads;
    return "batch " + std::to_string(batch) + ", head " + std::to_string(head) + ", token " +
           std::to_string(token) + ", feature " + std::to_string(feature);
}

}  // namespace

AttentionErrors measure_errors(const AttentionInputs& inputs, std::span<const _Float16> output) {
    const AttentionShape& shape = inputs.shape;
    AttentionErrors errors{};
    for (std::size_t head = 0; head < shape.head_count(); ++head) {
        const auto query = inputs.head_slice(inputs.query, head);
        const auto key = inputs.head_slice(inputs.key, head);
        const auto value = inputs.head_slice(inputs.value, head);
        const std::vector<double> exact = reference_attention(query, key, value, shape.head_dim);
        const auto device_head =
            output.subspan(head * shape.head_elements(), shape.head_elements());
        const WorstError device = max_abs_error(device_head, exact);
        const bool worse =
            head == 0 || std::isnan(device.error) || device.error > errors.device.error;
        if (worse && !std::isnan(errors.device.error)) {
            errors.device = WorstError{device.error, head * shape.head_elements() + device.index};
            errors.exact_at_worst = exact[device.index];
            errors.output_at_worst = static_cast<double>(device_head[device.index]);
        }
        const auto plain = plain_fp16_attention(query, key, value, shape.head_dim);
        errors.plain_fp16 = std::max(errors.plain_fp16, max_abs_error(plain, exact).error);
    }
    return errors;
}

std::string describe_errors(const AttentionErrors& errors) {
    return "max |error| " + scientific(errors.device.error) + " (plain FP16 " +
           scientific(errors.plain_fp16) + ")";
}

std::string describe_criterion() {
    return "max |error| <= " + scientific(error_bound) +
           " and <= " + scientific(plain_fp16_error_multiple) + " x plain FP16";
}

std::optional<std::string> judge_errors(const AttentionShape& shape,
                                        const AttentionErrors& errors) {
    const double error = errors.device.error;
    const double relative_limit = plain_fp16_error_multiple * errors.plain_fp16;
    std::string limit;
    if (!(error <= error_bound)) {
        limit = "the bound " + scientific(error_bound);
    } else if (!(error <= relative_limit)) {
        limit = scientific(plain_fp16_error_multiple) + " x the plain FP16 error " +
                scientific(errors.plain_fp16);
    } else {
        return std::nullopt;
    }
    char values[96];
    std::snprintf(values, sizeof values, " (exact %.6f, output %.6f)", errors.exact_at_worst,
                  errors.output_at_worst);
    return "max |error| " + scientific(error) + " at " + element_name(shape, errors.device.index) +
           values + " is above " + limit;
}

}  // namespace ipu_attention
