#include "ratio_reporter.h"

namespace qbr::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred)
            continue;
        const std::string& name = run.run_name.function_name;
        const double seconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        const auto cpu = run.counters.find("cpu_ms");
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (median || (run.run_type == Run::RT_Iteration && !fromMedian_[name])) {
            seconds_[name] = seconds;
            if (cpu != run.counters.end())
                cpuSeconds_[name] = cpu->second.value / 1e3;
            fromMedian_[name] = median;
        }
    }
}

namespace {

std::optional<double> lookUp(const std::map<std::string, double>& map, const std::string& name) {
    const auto it = map.find(name);
    if (it == map.end())
        return std::nullopt;
    return it->second;
}

} // namespace

std::optional<double> RatioReporter::seconds(const std::string& name) const {
    return lookUp(seconds_, name);
}

std::optional<double> RatioReporter::cpuSeconds(const std::string& name) const {
    return lookUp(cpuSeconds_, name);
}

} // namespace qbr::bench
