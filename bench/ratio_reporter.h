#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qbr::bench {

// Prints the runs as the console reporter does and keeps, for each benchmark, its wall time
// per iteration: the median of the repetitions when there are several. The ratios are taken
// from these after the run.
class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // Seconds per iteration of the benchmark registered under that name, if it ran.
    std::optional<double> seconds(const std::string& name) const;
    // Processor seconds per iteration, from the benchmark's "cpu_ms" counter.
    std::optional<double> cpuSeconds(const std::string& name) const;

  private:
    std::map<std::string, double> seconds_;
    std::map<std::string, double> cpuSeconds_;
    std::map<std::string, bool> fromMedian_;
};

} // namespace qbr::bench
