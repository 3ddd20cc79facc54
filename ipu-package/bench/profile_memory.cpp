// Writes the large synthetic profile to a file, or reads a profile file once and
// prints its size next to the size of the report it became. Run the read under
// `/usr/bin/time -v` to compare the peak resident size with those two figures.
//   ipu_package_profile_memory write PATH
//   ipu_package_profile_memory read PATH
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "ipu_package/ipu_package.hpp"
#include "large_profile.hpp"

namespace {

using namespace ipu_package;

std::size_t heap_bytes(const std::string& text) {
    constexpr std::size_t inline_capacity = 15;  // libstdc++ keeps short strings inside
    return text.capacity() > inline_capacity ? text.capacity() + 1 : 0;
}

// The memory the report owns: its objects and every heap block behind them,
// without the allocator's own overhead per block.
std::size_t report_bytes(const ProfileReport& report) {
    std::size_t bytes = sizeof report + report.tiles.capacity() * sizeof(TileProfile);
    for (const TileProfile& tile : report.tiles) {
        bytes += tile.samples.capacity() * sizeof(CycleSample);
        for (const CycleSample& sample : tile.samples) {
            const ProfileStep& step = sample.step;
            bytes += heap_bytes(step.operation) + heap_bytes(step.kernel);
            bytes += step.metadata.capacity() * sizeof(ProfileMetadata);
            for (const ProfileMetadata& entry : step.metadata) {
                bytes += heap_bytes(entry.name) + heap_bytes(entry.value);
            }
        }
    }
    return bytes;
}

int fail(const char* what, const std::string& why) {
    std::fprintf(stderr, "ipu_package_profile_memory: %s: %s\n", what, why.c_str());
    return 1;
}

int write_large_profile(const char* path) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(path, std::strerror(errno));
    }
    auto written = write_profile(bench::large_profile_report(), 1, fd);
    ::close(fd);
    return written ? 0 : fail(path, written.error().display());
}

int read_profile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        return fail(path, std::strerror(errno));
    }
    auto report = ProfileReport::read(InputStream::from_fd(fd));
    if (!report) {
        return fail(path, report.error().display());
    }
    std::printf("file: %lld bytes; report: %zu bytes in %zu tiles\n",
                static_cast<long long>(status.st_size), report_bytes(*report),
                report->tiles.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 3 ? argv[1] : "";
    if (mode == "write") {
        return write_large_profile(argv[2]);
    }
    if (mode == "read") {
        return read_profile(argv[2]);
    }
    std::fprintf(stderr, "usage: ipu_package_profile_memory write|read PATH\n");
    return 2;
}
