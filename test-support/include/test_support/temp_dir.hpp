#pragma once

#include <filesystem>
#include <string>

namespace test_support {

// A directory of its own under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace test_support
