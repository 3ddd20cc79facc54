#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "ipu_package/ipu_package.hpp"
#include "support/printing.hpp"
#include "support/profile_fixtures.hpp"

namespace ipu_package {
namespace {

std::expected<ProfileReport, PackageError> read_bytes(std::string bytes) {
    return ProfileReport::read(InputStream::from_bytes(std::move(bytes)));
}

std::uint32_t segment_count(const std::string& encoded) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(encoded[0])) + 1;
}

TEST(RoundTrip, ReportsComeBackExactlyInTheirOrder) {
    const ProfileReport reports[] = {
        fixtures::varied_report(),
        ProfileReport{},  // no tiles, clock 0
        ProfileReport{.clock_hz = 1, .tiles = {{}, {}}},
        fixtures::synthetic_report(3, 5, 0),
    };
    for (const ProfileReport& report : reports) {
        EXPECT_EQ(read_bytes(fixtures::encoded(report)), report);
    }
}

TEST(RoundTrip, LargeReportsSpanSeveralSegments) {
    const ProfileReport report = fixtures::synthetic_report(24, 150, 3);
    const std::string encoded = fixtures::encoded(report);
    EXPECT_GT(segment_count(encoded), 1u);
    EXPECT_EQ(read_bytes(encoded), report);
}

TEST(RoundTrip, VersionsOneToThreeReadAlike) {
    const ProfileReport report = fixtures::varied_report();
    for (const std::uint32_t version : {1u, 2u, 3u}) {
        EXPECT_EQ(read_bytes(fixtures::encoded(report, version)), report) << version;
    }
}

TEST(RoundTrip, ThroughAFileDescriptor) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const int fd = ::dup(::fileno(file));
    std::fclose(file);
    const ProfileReport report = fixtures::synthetic_report(6, 40, 2);

    ASSERT_TRUE(write_profile(report, 3, fd).has_value());
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), static_cast<off_t>(fixtures::encoded(report, 3).size()));
    ASSERT_EQ(::lseek(fd, 0, SEEK_SET), 0);
    EXPECT_EQ(ProfileReport::read(InputStream::from_fd(fd)), report);
}

TEST(RoundTrip, WriteFailuresAreIoErrors) {
    const int read_only = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(read_only, 0);
    EXPECT_EQ(write_profile(fixtures::varied_report(), 1, read_only),
              std::unexpected(PackageError(IoError{EBADF})));
    ::close(read_only);

    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (full >= 0) {
        EXPECT_EQ(write_profile(fixtures::varied_report(), 1, full),
                  std::unexpected(PackageError(IoError{ENOSPC})));
        ::close(full);
    }
}

TEST(RoundTrip, TheWriterStampsAnyVersionAndTheReaderJudgesIt) {
    const ProfileReport report = fixtures::varied_report();
    const std::string v1 = fixtures::encoded(report, 1);
    const std::string v4 = fixtures::encoded(report, 4);
    ASSERT_EQ(v1.size(), v4.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < v1.size(); ++i) {
        differing += v1[i] != v4[i];
    }
    EXPECT_EQ(differing, 1u);
    EXPECT_EQ(read_bytes(v4),
              std::unexpected(PackageError::invalid("unsupported profile schema version 4")));
}

}  // namespace
}  // namespace ipu_package
