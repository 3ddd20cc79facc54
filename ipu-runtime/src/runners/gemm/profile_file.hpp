#pragma once

#include <cstdint>
#include <expected>
#include <string>

#include "ipu_package/profile_report.hpp"

namespace ipu_gemm {

// The schema version stamped on the profiles this runner writes.
inline constexpr std::uint32_t profile_schema_version = 3;

// A profile on its way to `target`: a temporary file created beside the target
// (same directory, so the final rename is atomic), written whole, then renamed
// over the target. Whatever happens before the rename, the target is never half
// written. Until commit() succeeds, destroying the object removes the temporary
// file. Move-only.
class PendingProfileFile {
  public:
    // Creates the temporary file "<target>.XXXXXX" (readable by all, writable by
    // the owner). Fails with the operating system's error text when it cannot be
    // created, for example when the directory does not exist or is not writable.
    static std::expected<PendingProfileFile, std::string> create(std::string target);

    PendingProfileFile(PendingProfileFile&& other) noexcept;
    PendingProfileFile& operator=(PendingProfileFile&&) = delete;
    PendingProfileFile(const PendingProfileFile&) = delete;
    PendingProfileFile& operator=(const PendingProfileFile&) = delete;
    ~PendingProfileFile();

    const std::string& target() const { return target_; }
    const std::string& temporary_path() const { return temporary_; }

    // Writes `report` to the temporary file, flushes it to disk and renames it over
    // the target. On failure the temporary file is removed and the phrase says
    // which step failed and why. Call at most once.
    std::expected<void, std::string> commit(const ipu_package::ProfileReport& report);

  private:
    PendingProfileFile(std::string target, std::string temporary, int fd);
    void discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
};

}  // namespace ipu_gemm
