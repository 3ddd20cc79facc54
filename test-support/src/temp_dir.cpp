#include "test_support/temp_dir.hpp"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace test_support {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmesh-test-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory from " + pattern);
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace test_support
