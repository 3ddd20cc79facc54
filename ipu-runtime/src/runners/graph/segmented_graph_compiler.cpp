#include "segmented_graph_compiler.hpp"

#include <algorithm>

#include "graph_support.hpp"

namespace ipu_graph_runner {
namespace {

// The piece of `tensor` holding `element`, which must exist.
const TensorPiece& piece_holding(const Tensor& tensor, std::uint32_t element) {
    return *std::find_if(tensor.pieces.begin(), tensor.pieces.end(), [element](const auto& p) {
        return element >= p.first_element && element - p.first_element < p.elements;
    });
}

std::uint32_t address_of(const TensorPiece& piece, std::uint32_t element) {
    return piece.address + (element - piece.first_element) * 4;
}

ipu_sim::Codelet add_codelet(std::uint16_t tile, std::uint32_t left, std::uint32_t right,
                             std::uint32_t sum, std::uint32_t elements) {
    const std::uint32_t bytes = elements * 4;
    return {
        .kernel = "add_u32",
        .tile = physical_tile(tile),
        .inputs = {{left, bytes}, {right, bytes}},
        .outputs = {{sum, bytes}},
        .cost_class = ipu_sim::CostClass::IntAdd,
        .work = elements,
        .body =
            [=](ipu_sim::TileView& view) {
                auto values = view.read<std::uint32_t>(left, elements);
                const auto addends = view.read<std::uint32_t>(right, elements);
                for (std::size_t i = 0; i < values.size(); ++i) {
                    values[i] += addends[i];
                }
                view.write(sum, std::span<const std::uint32_t>(values));
            },
    };
}

}  // namespace

SegmentedGraphCompiler::SegmentedGraphCompiler(std::vector<std::uint16_t> tiles,
                                               std::vector<ipu_sim::ByteRange> arenas)
    : tiles_(std::move(tiles)), arenas_(std::move(arenas)), cursors_(tiles_.size()) {}

std::expected<Tensor, ipu_exchange::ExchangeError> SegmentedGraphCompiler::allocate(
    std::string name, std::uint32_t elements) {
    Tensor tensor{std::move(name), elements, {}};
    const auto tile_count = static_cast<std::uint32_t>(tiles_.size());
    std::uint32_t next_element = 0;
    for (std::uint32_t t = 0; t < tile_count; ++t) {
        std::uint32_t left = elements / tile_count + (t < elements % tile_count ? 1 : 0);
        Cursor& cursor = cursors_[t];
        while (left > 0) {
            if (cursor.arena == arenas_.size()) {
                return std::unexpected(ipu_exchange::ExchangeError::Count{elements});
            }
            const ipu_sim::ByteRange& arena = arenas_[cursor.arena];
            const std::uint32_t room = (arena.length - cursor.used) / 4;
            const std::uint32_t taken = std::min(room, left);
            if (taken > 0) {
                tensor.pieces.push_back(
                    {tiles_[t], arena.address + cursor.used, next_element, taken});
                cursor.used += taken * 4;
                next_element += taken;
                left -= taken;
            }
            if (taken == room) {
                cursor = {cursor.arena + 1, 0};
            }
        }
    }
    return tensor;
}

std::vector<ipu_sim::Codelet> SegmentedGraphCompiler::add(const Tensor& left, const Tensor& right,
                                                          const Tensor& sum) const {
    std::vector<ipu_sim::Codelet> codelets;
    std::uint32_t element = 0;
    while (element < sum.elements) {
        const TensorPiece& l = piece_holding(left, element);
        const TensorPiece& r = piece_holding(right, element);
        const TensorPiece& s = piece_holding(sum, element);
        const std::uint32_t end =
            std::min({l.first_element + l.elements, r.first_element + r.elements,
                      s.first_element + s.elements});
        codelets.push_back(add_codelet(s.tile, address_of(l, element), address_of(r, element),
                                       address_of(s, element), end - element));
        element = end;
    }
    return codelets;
}

}  // namespace ipu_graph_runner
