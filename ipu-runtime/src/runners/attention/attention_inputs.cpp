#include "attention_inputs.hpp"

#include "ipu_scenario/scenario_generator.hpp"

namespace ipu_attention {
namespace {

std::vector<_Float16> uniform_tensor(ipu_scenario::ScenarioGenerator& generator, std::size_t count,
                                     float low, float high) {
    std::vector<_Float16> tensor(count);
    for (auto& element : tensor) {
        const float unit = static_cast<float>(generator.next_u32() >> 8) * 0x1p-24f;
        element = static_cast<_Float16>(low + (high - low) * unit);
    }
    return tensor;
}

}  // namespace

std::span<const _Float16> AttentionInputs::head_slice(const std::vector<_Float16>& tensor,
                                                      std::size_t head) const {
    return std::span(tensor).subspan(head * shape.head_elements(), shape.head_elements());
}

AttentionInputs make_attention_inputs(const AttentionShape& shape, std::uint64_t seed) {
    auto generator = ipu_scenario::ScenarioGenerator::from_seed(seed);
    const std::size_t count = shape.tensor_elements();
    auto query = uniform_tensor(generator, count, -1.5f, 1.5f);
    auto key = uniform_tensor(generator, count, -1.5f, 1.5f);
    auto value = uniform_tensor(generator, count, 0.25f, 1.75f);
    return AttentionInputs{shape, std::move(query), std::move(key), std::move(value)};
}

}  // namespace ipu_attention
