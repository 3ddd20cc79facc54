#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ipu_text {

// `tiles` as runners take a list of tiles: each number in decimal, in the given
// order, joined by "," with no spaces ("" for no tiles, "34,71,144" for three).
std::string tile_list(std::span<const std::uint16_t> tiles);

}  // namespace ipu_text
