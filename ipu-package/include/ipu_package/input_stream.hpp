#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <span>
#include <string>

#include "ipu_package/package_error.hpp"

namespace ipu_package {

// A readable byte stream that owns its source: an open file descriptor, which it
// closes when it is destroyed, or a block of bytes held in memory. Move-only; a
// moved-from stream is at its end and owns nothing.
class InputStream {
  public:
    // Takes ownership of `fd`, an open descriptor positioned where reading starts.
    // The descriptor is closed by this stream, never by the caller.
    static InputStream from_fd(int fd);

    // A stream over `bytes`, which it keeps.
    static InputStream from_bytes(std::string bytes);

    InputStream(InputStream&& other) noexcept;
    InputStream& operator=(InputStream&& other) noexcept;
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;
    ~InputStream();

    // Reads up to `into.size()` bytes into `into` and returns how many arrived;
    // 0 only at the end of the stream (or when `into` is empty). Interrupted reads
    // are retried. Fails with the operating system's error number.
    std::expected<std::size_t, IoError> read_some(std::span<std::byte> into);

    // How many bytes are still to come, when the source knows it without reading
    // (bytes in memory, a regular file); absent for pipes, sockets and the like.
    std::optional<std::size_t> remaining_hint() const;

    // Releases the source now (closes the descriptor); later reads see the end.
    void close();

  private:
    InputStream() = default;

    int fd_ = -1;
    std::string bytes_;
    std::size_t offset_ = 0;
};

}  // namespace ipu_package
