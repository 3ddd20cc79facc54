#include "ipu_sim/codelet.hpp"

namespace ipu_sim {

bool TileView::fault_injected(Fault) const {
    return false;
}

}  // namespace ipu_sim
