#pragma once

#include <vector>

#include "graph_catalogue.hpp"
#include "ipu_runner/settings.hpp"

namespace ipu_graph_runner {

// The graphs IPU_GRAPH_TEST asks for: the one it names, or all six in catalogue
// order when it is absent. Any other value, the empty one included, is refused
// with a problem that lists the six names.
ipu_runner::Setting<std::vector<GraphEntry>> read_graph_selection();

}  // namespace ipu_graph_runner
