#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ipu_profile {

enum class Align { Left, Right };

struct TextColumn {
    std::string heading;
    Align align = Align::Left;
};

// A table of plain text whose columns line up on a terminal. Cells may hold any
// text: control characters are escaped when the table is rendered.
class TextTable {
  public:
    explicit TextTable(std::vector<TextColumn> columns);

    // Adds a row; missing cells are empty, extra cells are ignored.
    void add_row(std::vector<std::string> cells);

    // Every row on its own line, each line starting with `indent`, columns two
    // spaces apart, no trailing blanks. The heading line comes first unless every
    // heading is empty.
    std::string render(std::string_view indent) const;

  private:
    std::vector<TextColumn> columns_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace ipu_profile
