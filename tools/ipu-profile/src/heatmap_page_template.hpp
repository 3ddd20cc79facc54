#pragma once

#include <string_view>

namespace ipu_profile {

// The heat map page with its script in place and the marker @PROFILE_DATA@ where
// the profile's data goes. Generated at build time from page/heatmap.html and
// page/heatmap.js.
extern const std::string_view heatmap_page_template;

}  // namespace ipu_profile
