// How long `ipu-profile summary` takes on a full-chip profile (1472 tiles, 1000
// samples each, 3 metadata entries per step), against the bare read of the same
// file in the same run. At the end the read's throughput is printed as a multiple
// of the summary's, which is the summary's time as a multiple of the read's.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <ipu_package/profile_writer.hpp>
#include <string>

#include "bench_support/ratio_reporter.hpp"
#include "ipu_profile/profile_files.hpp"
#include "ipu_profile/profile_summary.hpp"
#include "ipu_profile/summary_text.hpp"
#include "synthetic_profile.hpp"

namespace {

using ipu_profile::testing::SyntheticProfileShape;

// The benchmark's profile, written once to a temporary file and removed at exit.
class ProfileFile {
  public:
    ProfileFile() {
        path_ = (std::filesystem::temp_directory_path() /
                 ("ipu-profile-bench-" + std::to_string(::getpid()) + ".profile"))
                    .string();
        const SyntheticProfileShape shape{
            .samples_per_tile = 1000, .metadata_per_step = 3, .hostile_names = false};
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 ||
            !ipu_package::write_profile(ipu_profile::testing::synthetic_profile(shape), 3, fd)) {
            std::fprintf(stderr, "cannot write the benchmark profile %s\n", path_.c_str());
            std::exit(1);
        }
        ::close(fd);
        bytes_ = static_cast<std::int64_t>(std::filesystem::file_size(path_));
        // One untimed read, so that no benchmark pays alone for the process's first
        // touch of a heap this size (a cold run of the command pays it; see perf stat).
        benchmark::DoNotOptimize(ipu_profile::read_profile_file(path_));
    }
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;
    ~ProfileFile() { std::filesystem::remove(path_); }

    const std::string& path() const { return path_; }
    std::int64_t bytes() const { return bytes_; }

  private:
    std::string path_;
    std::int64_t bytes_ = 0;
};

const ProfileFile& profile_file() {
    static const ProfileFile file;
    return file;
}

ipu_package::ProfileReport read_or_fail(benchmark::State& state) {
    auto report = ipu_profile::read_profile_file(profile_file().path());
    if (!report) {
        state.SkipWithError(report.error().display().c_str());
        return {};
    }
    return std::move(*report);
}

// The baseline: reading the file into a report, as every command does first.
void read_profile(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(read_or_fail(state));
    }
    state.SetBytesProcessed(state.iterations() * profile_file().bytes());
}

// What `ipu-profile summary` does: read, summarise, render.
void read_and_summarise(benchmark::State& state) {
    for (auto _ : state) {
        const ipu_package::ProfileReport report = read_or_fail(state);
        benchmark::DoNotOptimize(ipu_profile::summary_text(ipu_profile::summarise(report), 10));
    }
    state.SetBytesProcessed(state.iterations() * profile_file().bytes());
}

// The summary alone, on a report already in memory.
void summarise_only(benchmark::State& state) {
    const ipu_package::ProfileReport report = read_or_fail(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ipu_profile::summarise(report));
    }
    state.SetBytesProcessed(state.iterations() * profile_file().bytes());
}

BENCHMARK(read_profile)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(read_and_summarise)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(summarise_only)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    // The profile is written and read once before any timing starts.
    benchmark::AddCustomContext("profile_bytes", std::to_string(profile_file().bytes()));
    return bench_support::run_benchmarks(
        argc, argv, {{"read_profile", "read_and_summarise"}, {"read_profile", "summarise_only"}});
}
