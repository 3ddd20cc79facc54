#include "gemm_matrices.hpp"

#include <algorithm>

#include "ipu_scenario/scenario_generator.hpp"

namespace ipu_gemm {
namespace {

Matrix small_integer_matrix(ipu_scenario::ScenarioGenerator& generator, std::uint32_t dimension) {
    Matrix matrix{dimension, std::vector<float>(std::size_t{dimension} * dimension)};
    for (float& element : matrix.elements) {
        element = static_cast<float>(static_cast<int>(generator.below(17)) - 8);
    }
    return matrix;
}

// The part of one row of a block that lies inside the matrix: where it starts in
// the block and in the matrix, and how many elements it has.
struct BlockRow {
    std::ptrdiff_t block_offset;
    std::ptrdiff_t matrix_offset;
    std::size_t count;
};

template <typename Visit>
void for_each_block_row(std::size_t n, const GemmPlan& plan, BlockCoordinate at, Visit visit) {
    const std::size_t first_column = std::size_t{at.column} * plan.block;
    if (first_column >= n) {
        return;
    }
    const std::size_t count = std::min<std::size_t>(plan.block, n - first_column);
    for (std::size_t r = 0; r < plan.block; ++r) {
        const std::size_t row = std::size_t{at.row} * plan.block + r;
        if (row >= n) {
            return;
        }
        visit(BlockRow{static_cast<std::ptrdiff_t>(r * plan.block),
                       static_cast<std::ptrdiff_t>(row * n + first_column), count});
    }
}

}  // namespace

GemmInputs make_gemm_inputs(std::uint32_t dimension, std::uint64_t seed) {
    auto generator = ipu_scenario::ScenarioGenerator::from_seed(seed);
    Matrix a = small_integer_matrix(generator, dimension);
    Matrix b = small_integer_matrix(generator, dimension);
    return GemmInputs{std::move(a), std::move(b)};
}

Matrix reference_product(const Matrix& a, const Matrix& b) {
    const std::size_t n = a.dimension;
    Matrix product{a.dimension, std::vector<float>(n * n)};
    std::vector<std::int64_t> row(n);
    for (std::size_t r = 0; r < n; ++r) {
        std::fill(row.begin(), row.end(), 0);
        for (std::size_t k = 0; k < n; ++k) {
            const auto left = static_cast<std::int64_t>(a.elements[r * n + k]);
            const float* right = b.elements.data() + k * n;
            for (std::size_t c = 0; c < n; ++c) {
                row[c] += left * static_cast<std::int64_t>(right[c]);
            }
        }
        for (std::size_t c = 0; c < n; ++c) {
            product.elements[r * n + c] = static_cast<float>(row[c]);
        }
    }
    return product;
}

std::vector<float> extract_block(const Matrix& matrix, const GemmPlan& plan, BlockCoordinate at) {
    std::vector<float> block(plan.block_elements(), 0.0f);
    for_each_block_row(matrix.dimension, plan, at, [&](const BlockRow& row) {
        std::copy_n(matrix.elements.begin() + row.matrix_offset, row.count,
                    block.begin() + row.block_offset);
    });
    return block;
}

void insert_block(Matrix& matrix, const GemmPlan& plan, BlockCoordinate at,
                  std::span<const float> block) {
    for_each_block_row(matrix.dimension, plan, at, [&](const BlockRow& row) {
        std::copy_n(block.begin() + row.block_offset, row.count,
                    matrix.elements.begin() + row.matrix_offset);
    });
}

}  // namespace ipu_gemm
