#include "graph_settings.hpp"

namespace ipu_graph_runner {

ipu_runner::Setting<std::vector<GraphEntry>> read_graph_selection() {
    constexpr const char* variable = "IPU_GRAPH_TEST";
    const auto catalogue = graph_catalogue();
    const std::optional<std::string> name = ipu_runner::read_variable(variable);
    if (!name) {
        return std::vector<GraphEntry>(catalogue.begin(), catalogue.end());
    }
    std::string known;
    for (const GraphEntry& graph : catalogue) {
        if (graph.name == *name) {
            return std::vector<GraphEntry>{graph};
        }
        known += (known.empty() ? "" : ", ") + std::string(graph.name);
    }
    return std::unexpected(
        ipu_runner::SettingError{variable, *name, "not a graph; the graphs are " + known});
}

}  // namespace ipu_graph_runner
