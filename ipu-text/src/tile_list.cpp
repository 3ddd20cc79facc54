#include "ipu_text/tile_list.hpp"

namespace ipu_text {

std::string tile_list(std::span<const std::uint16_t> tiles) {
    std::string list;
    for (const std::uint16_t tile : tiles) {
        // Appended piece by piece: g++ 12 -O3 misreports `list += "," + ...` as overlapping.
        if (!list.empty()) {
            list += ',';
        }
        list += std::to_string(tile);
    }
    return list;
}

}  // namespace ipu_text
