#include "graph_settings.hpp"

#include "ipu_runner_contract/names.hpp"

namespace ipu_graph_runner {

namespace contract = ipu_runner_contract;

ipu_runner::Setting<std::vector<GraphEntry>> read_graph_selection() {
    const auto catalogue = graph_catalogue();
    std::vector<std::string_view> names;
    for (const GraphEntry& graph : catalogue) {
        names.push_back(graph.name);
    }
    const auto chosen = ipu_runner::choice_setting(contract::graph_test, names, "graph");
    if (!chosen) {
        return std::unexpected(chosen.error());
    }
    if (!chosen->has_value()) {
        return std::vector<GraphEntry>(catalogue.begin(), catalogue.end());
    }
    return std::vector<GraphEntry>{catalogue[**chosen]};
}

}  // namespace ipu_graph_runner
