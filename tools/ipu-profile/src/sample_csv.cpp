#include "ipu_profile/sample_csv.hpp"

#include "ipu_profile/json_forms.hpp"
#include "ipu_profile/sample_timing.hpp"
#include "ipu_profile/step_kinds.hpp"
#include "ipu_profile/tile_position.hpp"

namespace ipu_profile {
namespace {

// Joins fields into one CSV line.
class CsvLine {
  public:
    CsvLine& text(std::string_view field) { return raw(csv_field(field)); }

    CsvLine& number(std::uint64_t value) { return raw(std::to_string(value)); }

    const std::string& line() {
        line_ += '\n';
        return line_;
    }

  private:
    CsvLine& raw(std::string_view field) {
        if (!line_.empty()) {
            line_ += ',';
        }
        line_ += field;
        return *this;
    }

    std::string line_;
};

}  // namespace

std::string csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}

void write_sample_csv(const ipu_package::ProfileReport& report, std::ostream& out) {
    out << sample_csv_header << '\n';
    for (const ipu_package::TileProfile& tile : report.tiles) {
        const TilePosition position = tile_position(tile.physical_tile);
        for (std::size_t index = 0; index < tile.samples.size(); ++index) {
            const ipu_package::CycleSample& sample = tile.samples[index];
            const ipu_package::ProfileStep& step = sample.step;
            out << CsvLine()
                       .number(tile.physical_tile)
                       .number(position.row)
                       .number(position.column)
                       .number(index)
                       .text(step_kind_name(step.kind))
                       .text(step.operation)
                       .text(step.kernel)
                       .number(step.local_index)
                       .number(step.phase)
                       .number(step.epoch)
                       .number(sample.start_cycle)
                       .number(sample.end_cycle)
                       .number(sample_cycles(sample))
                       .text(json_text(metadata_json(step.metadata)))
                       .line();
        }
    }
}

}  // namespace ipu_profile
