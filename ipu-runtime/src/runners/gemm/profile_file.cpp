#include "profile_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "ipu_package/profile_writer.hpp"
#include "ipu_text/os_error.hpp"

namespace ipu_gemm {

std::expected<PendingProfileFile, std::string> PendingProfileFile::create(std::string target) {
    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return std::unexpected("cannot create a file beside it: " +
                               ipu_text::os_error_message(errno));
    }
    std::string temporary(name.data());
    if (::fchmod(fd, 0644) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return std::unexpected("cannot set the permissions of a file beside it: " +
                               ipu_text::os_error_message(error));
    }
    return PendingProfileFile(std::move(target), std::move(temporary), fd);
}

PendingProfileFile::PendingProfileFile(std::string target, std::string temporary, int fd)
    : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd) {}

PendingProfileFile::PendingProfileFile(PendingProfileFile&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)) {}

PendingProfileFile::~PendingProfileFile() {
    discard();
}

void PendingProfileFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
        fd_ = -1;
    }
}

std::expected<void, std::string> PendingProfileFile::commit(
    const ipu_package::ProfileReport& report) {
    if (fd_ < 0) {
        return std::unexpected("the profile was already committed");
    }
    const auto written = ipu_package::write_profile(report, profile_schema_version, fd_);
    if (!written) {
        discard();
        return std::unexpected("cannot write the profile: " + written.error().display());
    }
    const int sync_error = ::fsync(fd_) == 0 ? 0 : errno;
    const int close_error = ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
    if (sync_error != 0 || close_error != 0) {
        ::unlink(temporary_.c_str());
        return std::unexpected(
            "cannot write the profile: " +
            ipu_text::os_error_message(sync_error != 0 ? sync_error : close_error));
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        return std::unexpected("cannot move the profile into place: " +
                               ipu_text::os_error_message(error));
    }
    return {};
}

}  // namespace ipu_gemm
