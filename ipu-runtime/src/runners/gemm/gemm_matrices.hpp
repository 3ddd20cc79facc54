#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gemm_plan.hpp"

namespace ipu_gemm {

// A square FP32 matrix, row-major.
struct Matrix {
    std::uint32_t dimension = 0;
    std::vector<float> elements;

    friend bool operator==(const Matrix&, const Matrix&) = default;
};

struct GemmInputs {
    Matrix a;
    Matrix b;
};

// Seeded, reproducible operands whose elements are whole numbers from -8 to 8.
// Every product and partial sum of their product is then a whole number below
// n * 64 < 2^24 in magnitude, exact in FP32 whatever the order of summation, so
// the device's result can be compared bit for bit.
GemmInputs make_gemm_inputs(std::uint32_t dimension, std::uint64_t seed);

// A . B computed directly in 64-bit integers from the elements' values; exact.
Matrix reference_product(const Matrix& a, const Matrix& b);

// Block `at` of `matrix` as plan.block x plan.block row-major elements, with
// zeros where the block reaches past the matrix.
std::vector<float> extract_block(const Matrix& matrix, const GemmPlan& plan, BlockCoordinate at);

// Writes the part of `block` that lies inside the matrix back to block `at`.
void insert_block(Matrix& matrix, const GemmPlan& plan, BlockCoordinate at,
                  std::span<const float> block);

}  // namespace ipu_gemm
