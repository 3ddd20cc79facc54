#include "gemm_kernels.hpp"

#include <algorithm>
#include <cassert>

namespace ipu_gemm {

void multiply_blocks(std::span<const float> a, std::span<const float> b, std::uint32_t side,
                     std::span<float> product) {
    const std::size_t n = side;
    assert(a.size() == n * n && b.size() == n * n && product.size() == n * n);
    std::fill(product.begin(), product.end(), 0.0f);
    for (std::size_t r = 0; r < n; ++r) {
        float* out = product.data() + r * n;
        for (std::size_t k = 0; k < n; ++k) {
            const float left = a[r * n + k];
            const float* right = b.data() + k * n;
            for (std::size_t c = 0; c < n; ++c) {
                out[c] += left * right[c];
            }
        }
    }
}

void sum_blocks(std::span<const float> partials, std::span<float> sum) {
    assert(!sum.empty() && partials.size() % sum.size() == 0);
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (std::size_t first = 0; first < partials.size(); first += sum.size()) {
        const float* partial = partials.data() + first;
        for (std::size_t e = 0; e < sum.size(); ++e) {
            sum[e] += partial[e];
        }
    }
}

}  // namespace ipu_gemm
