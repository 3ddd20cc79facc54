// How long `ipu-profile summary` takes on a full-chip profile (1472 tiles, 1000
// samples each, 3 metadata entries per step), against the bare read of the same
// file in the same run. Prints the ratio at the end.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <ipu_package/profile_writer.hpp>
#include <map>
#include <string>

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

// Reports as usual, remembering each benchmark's time per iteration so that the
// ratios to the bare read can be printed at the end. Both wall-clock and CPU time
// are shown: on a shared machine the CPU time is the steadier of the two.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                const double iterations = static_cast<double>(run.iterations);
                times_[run.run_name.function_name] = {run.real_accumulated_time / iterations,
                                                      run.cpu_accumulated_time / iterations};
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto baseline = times_.find("read_profile");
        if (baseline == times_.end()) {
            return;
        }
        std::printf("profile: %.1f MB; per run, and as a ratio to read_profile:\n",
                    static_cast<double>(profile_file().bytes()) / 1e6);
        std::printf("  %-20s %10s %6s %10s %6s\n", "", "real ms", "ratio", "cpu ms", "ratio");
        for (const auto& [name, time] : times_) {
            std::printf("  %-20s %10.1f %6.2f %10.1f %6.2f\n", name.c_str(), time.real * 1e3,
                        time.real / baseline->second.real, time.cpu * 1e3,
                        time.cpu / baseline->second.cpu);
        }
    }

  private:
    struct Seconds {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Seconds> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    profile_file();  // written and read once before any timing starts
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
