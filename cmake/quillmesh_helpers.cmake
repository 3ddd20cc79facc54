# Functions that every folder's build file uses: the compiler settings of the
# project's own targets and the way a GoogleTest executable is registered.
#
# Compiler settings shared by every target the project itself writes.
# Generated code (Cap'n Proto) and third-party headers are compiled without -Werror.

function(quillmesh_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor
    -Wimplicit-fallthrough -Werror)
endfunction()

# quillmesh_test(NAME SOURCES... LIBRARIES...) builds a GoogleTest executable and
# registers each of its tests with CTest under the label "unit".
function(quillmesh_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quillmesh_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
endfunction()
