#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "ipu_runner/pattern.hpp"
#include "segmented_graph_compiler.hpp"

namespace ipu_graph_runner {
namespace {

constexpr std::uint32_t vector_elements = 5003;

// The same arenas on every tile, deliberately uneven so that shards cross arena
// boundaries at different elements in each tensor. The third arena has address
// bit 18 set, above the first one.
const std::vector<ipu_sim::ByteRange> arenas = {
    {0x01000, 0x1400},
    {0x06000, 0x1200},
    {0x41000, 0x1000},
    {0x20000, 0x2000},
};
const std::vector<std::uint16_t> tiles = {7, 301, 733, 1100, 1471};

std::vector<std::uint32_t> input_values(std::uint32_t stream) {
    return words_of(ipu_runner::pattern_bytes({stream, 0}, 0, std::size_t{vector_elements} * 4));
}

// The bytes of `values` that each piece of `tensor` holds.
template <typename Each>
void for_each_piece(const Tensor& tensor, const std::vector<std::uint32_t>& values, Each each) {
    for (const TensorPiece& piece : tensor.pieces) {
        const auto first = values.begin() + piece.first_element;
        each(piece, bytes_of(std::vector<std::uint32_t>(first, first + piece.elements)));
    }
}

}  // namespace

// The compiler shards two vectors and their sum over five tiles' segmented arenas;
// the host writes the two vectors, the compiled add codelets run, and every piece
// of all three tensors is read back and checked against the host's own sum.
GraphBuild segmented_add_graph() {
    SegmentedGraphCompiler compiler(tiles, arenas);
    auto left = compiler.allocate("left", vector_elements);
    auto right = compiler.allocate("right", vector_elements);
    auto sum = compiler.allocate("sum", vector_elements);
    for (const auto* tensor : {&left, &right, &sum}) {
        if (!*tensor) {
            return std::unexpected(tensor->error());
        }
    }
    const std::vector<std::uint32_t> left_values = input_values(61);
    const std::vector<std::uint32_t> right_values = input_values(62);
    std::vector<std::uint32_t> sum_values(vector_elements);
    for (std::uint32_t i = 0; i < vector_elements; ++i) {
        sum_values[i] = left_values[i] + right_values[i];
    }

    GraphPlan plan;
    ipu_sim::Superstep add{.operation = "segmented add",
                           .compute = compiler.add(*left, *right, *sum),
                           .exchange = {},
                           .host_sends = {}};
    plan.description =
        "add of two " + std::to_string(vector_elements) + "-word vectors in " +
        std::to_string(left->pieces.size() + right->pieces.size() + sum->pieces.size()) +
        " arena pieces on " + std::to_string(tiles.size()) + " tiles by " +
        std::to_string(add.compute.size()) + " codelets";
    plan.program.supersteps.push_back(std::move(add));

    for (const auto& [tensor, values] :
         {std::pair{&*left, &left_values}, std::pair{&*right, &right_values}}) {
        for_each_piece(
            *tensor, *values, [&](const TensorPiece& piece, std::vector<std::uint8_t> bytes) {
                plan.inputs.push_back({piece.tile, piece.address, bytes});
                plan.expectations.push_back(
                    {tensor->name + " input", piece.tile, piece.address, std::move(bytes)});
            });
    }
    for_each_piece(
        *sum, sum_values, [&](const TensorPiece& piece, std::vector<std::uint8_t> bytes) {
            plan.expectations.push_back({"sum", piece.tile, piece.address, std::move(bytes)});
        });
    return plan;
}

}  // namespace ipu_graph_runner
