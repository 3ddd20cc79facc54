#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench_support {

// Two benchmarks of one program whose throughputs are compared: the ratio is the
// numerator's bytes per second divided by the denominator's, both from the same run.
struct ThroughputRatio {
    std::string numerator;
    std::string denominator;
};

// Prints the usual console table, then one line per ratio whose two benchmarks both
// ran and counted bytes processed. A throughput is taken from the median when the run
// has repetitions, else from the single run; it is the library's bytes_per_second,
// which is measured against CPU time, the steadier clock on a shared machine.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    explicit RatioReporter(std::vector<ThroughputRatio> ratios) : ratios_(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((single || median) && run.counters.contains("bytes_per_second")) {
                bytes_per_second_[run.run_name.function_name] = run.counters.at("bytes_per_second");
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const ThroughputRatio& ratio : ratios_) {
            const auto numerator = bytes_per_second_.find(ratio.numerator);
            const auto denominator = bytes_per_second_.find(ratio.denominator);
            if (numerator == bytes_per_second_.end() || denominator == bytes_per_second_.end()) {
                continue;
            }
            std::printf("%s %.0f MB/s, %s %.0f MB/s; %s / %s = %.3f\n", ratio.numerator.c_str(),
                        numerator->second / 1e6, ratio.denominator.c_str(),
                        denominator->second / 1e6, ratio.numerator.c_str(),
                        ratio.denominator.c_str(), numerator->second / denominator->second);
        }
    }

  private:
    std::vector<ThroughputRatio> ratios_;
    std::map<std::string, double> bytes_per_second_;
};

// The body of a benchmark program's main(): runs the benchmarks the command line
// selects and reports them with a RatioReporter for `ratios`. Returns the program's
// exit status, 1 when the command line holds an argument the library does not know.
inline int run_benchmarks(int argc, char** argv, std::vector<ThroughputRatio> ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter(std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench_support
