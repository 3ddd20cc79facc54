#pragma once

#include <cstddef>
#include <ipu_package/profile_report.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "ipu_profile/json_forms.hpp"

namespace ipu_profile {

// Writes one self-contained HTML page about `report` to `out`: the cycles per kind as a bar, a heat
// map of the chip by physical row and column coloured by a chosen kind's share of each tile's
// cycles with the tile's numbers on hover, the `costliest` costliest steps, and the timeline of a
// tile chosen by clicking it. The page loads nothing: its style, script and data are all inside it,
// and its content policy forbids fetching anything. `title` names the profile on the page. Every
// text from the profile reaches the page as data, never as markup. Whether `out` took the text is
// for the caller to check.
void write_heatmap_page(const ipu_package::ProfileReport& report, std::string_view title,
                        std::ostream& out, std::size_t costliest = 20);

// `json` as text that may stand inside an HTML <script> element: '<', '>' and '&'
// are written as \u escapes, so no text in it can close the element or open a comment.
std::string script_safe_json(const Json& json);

}  // namespace ipu_profile
