# Joins the heat map page and its script into one C++ source holding the page as a
# string. Run as: cmake -DPAGE=... -DSCRIPT=... -DOUTPUT=... -P embed_page.cmake
file(READ "${PAGE}" page)
file(READ "${SCRIPT}" script)
string(REPLACE "@PAGE_SCRIPT@" "${script}" page "${page}")
string(FIND "${page}" ")ipu_page\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "the page contains the raw string's closing sequence")
endif()
file(WRITE "${OUTPUT}.new"
  "// Generated from page/heatmap.html and page/heatmap.js; edit those instead.\n"
  "#include \"heatmap_page_template.hpp\"\n\n"
  "namespace ipu_profile {\n\n"
  "extern const std::string_view heatmap_page_template = R\"ipu_page(${page})ipu_page\";\n\n"
  "}  // namespace ipu_profile\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
