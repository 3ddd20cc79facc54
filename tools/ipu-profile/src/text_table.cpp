#include "ipu_profile/text_table.hpp"

#include <algorithm>

#include "ipu_profile/terminal_text.hpp"

namespace ipu_profile {

TextTable::TextTable(std::vector<TextColumn> columns) : columns_(std::move(columns)) {
    const bool has_headings = std::ranges::any_of(
        columns_, [](const TextColumn& column) { return !column.heading.empty(); });
    if (has_headings) {
        std::vector<std::string> headings;
        for (const TextColumn& column : columns_) {
            headings.push_back(column.heading);
        }
        add_row(std::move(headings));
    }
}

void TextTable::add_row(std::vector<std::string> cells) {
    cells.resize(columns_.size());
    for (std::string& cell : cells) {
        cell = terminal_safe(cell);
    }
    rows_.push_back(std::move(cells));
}

std::string TextTable::render(std::string_view indent) const {
    std::vector<std::size_t> widths(columns_.size(), 0);
    for (const auto& row : rows_) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], display_width(row[i]));
        }
    }
    std::string text;
    for (const auto& row : rows_) {
        std::string line(indent);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string padding(widths[i] - display_width(row[i]), ' ');
            if (i > 0) {
                line += "  ";
            }
            line += columns_[i].align == Align::Right ? padding + row[i] : row[i] + padding;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace ipu_profile
