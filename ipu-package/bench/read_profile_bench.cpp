// How fast ProfileReport::read turns a large profile file into a report, against a
// bare traversal of the same message, already in memory, that touches every field
// and copies nothing.
// Both count the bytes of the file; at the end the traversal's throughput is printed
// as a multiple of the reader's.
#include <benchmark/benchmark.h>
#include <capnp/serialize.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "bench_support/ratio_reporter.hpp"
#include "ipu_package/ipu_package.hpp"
#include "ipu_package/profile.capnp.h"
#include "large_profile.hpp"
#include "support/profile_fixtures.hpp"

namespace {

using namespace ipu_package;

const std::string& large_profile() {
    static const std::string bytes = fixtures::encoded(bench::large_profile_report(), 1);
    return bytes;
}

// The large profile as a file, written once per run and removed at exit. Reading it
// back comes from the page cache, as it does for a profile that a runner just wrote.
class ProfileFile {
  public:
    ProfileFile() {
        char path[] = "/tmp/ipu-package-bench-XXXXXX";
        const int fd = ::mkstemp(path);
        if (fd < 0 || !write_all(fd, large_profile()) || ::close(fd) != 0) {
            std::fprintf(stderr, "cannot write the profile file %s\n", path);
            std::exit(1);
        }
        path_ = path;
    }
    ~ProfileFile() { ::unlink(path_.c_str()); }

    const std::string& path() const { return path_; }

  private:
    static bool write_all(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    std::string path_;
};

const ProfileFile& profile_file() {
    static const ProfileFile file;
    return file;
}

void read_profile(benchmark::State& state) {
    const std::string& path = profile_file().path();
    std::optional<std::expected<ProfileReport, PackageError>> report;
    for (auto _ : state) {
        state.PauseTiming();
        report.reset();  // destroying the previous report is not part of reading
        state.ResumeTiming();
        report = ProfileReport::read(InputStream::from_fd(::open(path.c_str(), O_RDONLY)));
        benchmark::DoNotOptimize(*report);
    }
    if (!report || !report->has_value() || (*report)->tiles.empty()) {
        state.SkipWithError("the large profile did not read back");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * large_profile().size()));
}

std::uint64_t touch(capnp::Text::Reader text) {
    return text.size();
}

// Every field of the message, each pointer followed once, as the reader does.
std::uint64_t traverse(profile_capnp::Profile::Reader root) {
    std::uint64_t sum = root.getSchemaVersion() + root.getClockHz();
    for (const auto tile : root.getTiles()) {
        sum += tile.getPhysicalTile();
        for (const auto sample : tile.getSamples()) {
            const auto step = sample.getStep();
            sum += step.getLocalIndex() + step.getPhase() + step.getEpoch();
            sum += touch(step.getOperation());
            sum += static_cast<std::uint16_t>(step.getKind());
            sum += touch(step.getKernel());
            for (const auto entry : step.getMetadata()) {
                sum += touch(entry.getName()) + touch(entry.getValue());
            }
            sum += sample.getStartCycle() + sample.getEndCycle();
        }
    }
    return sum;
}

void traverse_message(benchmark::State& state) {
    const std::string& profile = large_profile();
    kj::Array<capnp::word> words = kj::heapArray<capnp::word>(profile.size() / sizeof(capnp::word));
    std::memcpy(words.begin(), profile.data(), profile.size());
    for (auto _ : state) {
        capnp::FlatArrayMessageReader message(words, capnp_reader_options());
        benchmark::DoNotOptimize(traverse(message.getRoot<profile_capnp::Profile>()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * profile.size()));
}

BENCHMARK(traverse_message)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(read_profile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::AddCustomContext("profile_bytes", std::to_string(large_profile().size()));
    return bench_support::run_benchmarks(argc, argv, {{"traverse_message", "read_profile"}});
}
