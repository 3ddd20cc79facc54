#include "ipu_package/input_stream.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <string_view>

namespace ipu_package {
namespace {

std::string_view as_text(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool is_open(int fd) {
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

// Reads everything in chunks of at most `chunk` bytes.
std::string drain(InputStream& stream, std::size_t chunk) {
    std::string all;
    std::array<std::byte, 64> buffer{};
    for (;;) {
        auto count = stream.read_some(std::span(buffer).first(chunk));
        EXPECT_TRUE(count.has_value());
        if (!count || *count == 0) {
            return all;
        }
        all += as_text(std::span(buffer).first(*count));
    }
}

TEST(InputStream, BytesReadBackInChunksAndReportWhatRemains) {
    InputStream stream = InputStream::from_bytes("0123456789");
    EXPECT_EQ(stream.remaining_hint(), std::optional<std::size_t>(10));
    std::array<std::byte, 4> head{};
    ASSERT_EQ(stream.read_some(head), (std::expected<std::size_t, IoError>(4)));
    EXPECT_EQ(as_text(head), "0123");
    EXPECT_EQ(stream.remaining_hint(), std::optional<std::size_t>(6));
    EXPECT_EQ(drain(stream, 4), "456789");
    EXPECT_EQ(drain(stream, 4), "");
}

TEST(InputStream, OwnsItsDescriptorThroughMovesAndClosesItOnce) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_GE(std::fputs("profile bytes", file), 0);
    std::fflush(file);
    const int fd = ::dup(::fileno(file));
    std::fclose(file);
    ASSERT_EQ(::lseek(fd, 8, SEEK_SET), 8);
    {
        InputStream first = InputStream::from_fd(fd);
        EXPECT_EQ(first.remaining_hint(), std::optional<std::size_t>(5));
        InputStream second = std::move(first);
        EXPECT_EQ(drain(first, 64), "");  // moved-from: empty, owns nothing
        EXPECT_TRUE(is_open(fd));
        EXPECT_EQ(drain(second, 2), "bytes");
    }
    EXPECT_FALSE(is_open(fd));
}

TEST(InputStream, PipesGiveNoSizeHintAndReportReadFailures) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "abc", 3), 3);
    ::close(ends[1]);
    InputStream pipe = InputStream::from_fd(ends[0]);
    EXPECT_EQ(pipe.remaining_hint(), std::nullopt);
    EXPECT_EQ(drain(pipe, 1), "abc");

    const int write_only = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(write_only, 0);
    InputStream unreadable = InputStream::from_fd(write_only);
    std::array<std::byte, 4> buffer{};
    EXPECT_EQ(unreadable.read_some(buffer), std::unexpected(IoError{EBADF}));
}

TEST(InputStream, CloseReleasesTheSourceEarly) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    InputStream stream = InputStream::from_fd(ends[0]);
    stream.close();
    EXPECT_FALSE(is_open(ends[0]));
    EXPECT_EQ(drain(stream, 8), "");
    ::close(ends[1]);
}

}  // namespace
}  // namespace ipu_package
