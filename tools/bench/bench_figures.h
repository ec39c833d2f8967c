#pragma once
// The figures of one run of vorn_bench, kept for the closing tables: every
// counter of every benchmark, by benchmark name. With
// --benchmark_repetitions the median of the repetitions counts.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vorn::bench {

class Figures {
public:
    // The counter's value, or 0 for a benchmark that did not run or failed.
    double find(const std::string& benchmark, const std::string& counter) const {
        const auto run = values.find(benchmark);
        if (run == values.end()) return 0.0;
        const auto value = run->second.find(counter);
        return value == run->second.end() ? 0.0 : value->second;
    }

    void record(const benchmark::BenchmarkReporter::Run& run) {
        using Run = benchmark::BenchmarkReporter::Run;
        if (run.error_occurred) return;
        // The name as registered, without the suffixes of fixed iterations
        // or manual time.
        const std::string name = run.run_name.function_name;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!median && (run.run_type != Run::RT_Iteration || medians.count(name))) return;
        for (const auto& [counter, value] : run.counters) values[name][counter] = value.value;
        if (median) medians.insert(name);
    }

    // Whether any benchmark whose name starts so has figures.
    bool hasAny(const std::string& prefix) const {
        const auto first = values.lower_bound(prefix);
        return first != values.end() && first->first.compare(0, prefix.size(), prefix) == 0;
    }

    // One decimal (or as many as asked), or "-" for a figure not measured.
    static std::string figure(double value, int decimals = 1) {
        if (value <= 0.0) return "-";
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return text;
    }
    // "before / after" as a ratio, or "-".
    static std::string ratio(double before, double after) {
        return before > 0.0 && after > 0.0 ? figure(before / after) + "x" : "-";
    }

private:
    std::map<std::string, std::map<std::string, double>> values;
    std::set<std::string> medians;
};

// The console table as usual, each run's counters kept on the way.
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) figures.record(run);
        ConsoleReporter::ReportRuns(runs);
    }
    Figures figures;
};

}  // namespace vorn::bench
