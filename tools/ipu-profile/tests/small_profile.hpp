#pragma once

#include <filesystem>
#include <ipu_package/profile_report.hpp>
#include <string>

#include "test_support/temp_dir.hpp"

namespace ipu_profile::testing {

// A hand-countable profile at 1 GHz (one cycle is one nanosecond):
//   tile 65:   exchange load/dma 100-160, compute matmul/mm16 160-460 (metadata
//              block=3, block=4), idle wait/idle 460-500
//   tile 2:    compute matmul/mm16 120-220, synchronization sync/barrier 220-230,
//              compute matmul/mm8 400-300 (ends before it starts)
//   tile 65 again: compute matmul/mm16 500-520
//   tile 1471: no samples
// Per kind: exchange 60, compute 420, synchronization 10, idle 40; total 530.
// Span 100 to 520.
ipu_package::ProfileReport small_report();

using test_support::TempDir;

// The whole content of the file at `path`.
std::string read_file(const std::string& path);

}  // namespace ipu_profile::testing
