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
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") {
                seconds_[name] = seconds;
                fromMedian_[name] = true;
            }
        } else if (!fromMedian_[name]) {
            seconds_[name] = seconds;
        }
    }
}

std::optional<double> RatioReporter::seconds(const std::string& name) const {
    const auto it = seconds_.find(name);
    if (it == seconds_.end())
        return std::nullopt;
    return it->second;
}

} // namespace qbr::bench
