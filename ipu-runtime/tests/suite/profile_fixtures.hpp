#pragma once

#include <string>

#include "ipu_package/profile_report.hpp"

namespace suite_test {

// A profile that passes every check of the GEMM case: 1472 tiles with one
// sample each, the four step kinds spread over the first tiles, a positive clock.
ipu_package::ProfileReport passing_profile();

}  // namespace suite_test
