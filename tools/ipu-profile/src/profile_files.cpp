#include "ipu_profile/profile_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <ipu_package/input_stream.hpp>
#include <ipu_text/os_error.hpp>
#include <vector>

namespace ipu_profile {
namespace {

std::string cannot_write(const std::string& path, int error) {
    return "cannot write " + path + ": " +
           (error != 0 ? ipu_text::os_error_message(error) : "write failed");
}

void remove_if_regular_file(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        std::remove(path.c_str());
    }
}

}  // namespace

std::expected<ipu_package::ProfileReport, ipu_package::PackageError> read_profile_file(
    const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::unexpected(ipu_package::IoError{errno});
    }
    return ipu_package::ProfileReport::read(ipu_package::InputStream::from_fd(fd));
}

std::expected<void, std::string> write_output_file(
    const std::string& path,
    const std::function<std::expected<void, std::string>(std::ostream&)>& write) {
    std::vector<char> buffer(std::size_t{1} << 20);
    std::ofstream out;
    out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    errno = 0;
    out.open(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return std::unexpected(cannot_write(path, errno));
    }
    errno = 0;
    std::expected<void, std::string> written = write(out);
    out.flush();
    if (written && !out) {
        written = std::unexpected(cannot_write(path, errno));
    }
    out.close();
    if (written && !out) {
        written = std::unexpected(cannot_write(path, errno));
    }
    if (!written) {
        remove_if_regular_file(path);
    }
    return written;
}

}  // namespace ipu_profile
