#include "ipu_package/input_stream.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace ipu_package {

InputStream InputStream::from_fd(int fd) {
    InputStream stream;
    stream.fd_ = fd;
    return stream;
}

InputStream InputStream::from_bytes(std::string bytes) {
    InputStream stream;
    stream.bytes_ = std::move(bytes);
    return stream;
}

InputStream::InputStream(InputStream&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      bytes_(std::exchange(other.bytes_, {})),
      offset_(std::exchange(other.offset_, 0)) {}

InputStream& InputStream::operator=(InputStream&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        bytes_ = std::exchange(other.bytes_, {});
        offset_ = std::exchange(other.offset_, 0);
    }
    return *this;
}

InputStream::~InputStream() {
    close();
}

void InputStream::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    bytes_ = {};
    offset_ = 0;
}

std::expected<std::size_t, IoError> InputStream::read_some(std::span<std::byte> into) {
    if (fd_ < 0) {
        const std::size_t count = std::min(into.size(), bytes_.size() - offset_);
        if (count > 0) {
            std::memcpy(into.data(), bytes_.data() + offset_, count);
        }
        offset_ += count;
        return count;
    }
    for (;;) {
        const ssize_t count = ::read(fd_, into.data(), into.size());
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            return std::unexpected(IoError{errno});
        }
    }
}

std::optional<std::size_t> InputStream::remaining_hint() const {
    if (fd_ < 0) {
        return bytes_.size() - offset_;
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    const off_t position = ::lseek(fd_, 0, SEEK_CUR);
    if (position < 0 || position > status.st_size) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(status.st_size - position);
}

}  // namespace ipu_package
