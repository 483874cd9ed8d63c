#pragma once
// A console reporter that also keeps the real time per iteration of every
// benchmark (the median when repetitions are asked for, else the mean or the
// single run), so that a program can print how two benchmarks compare.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ormavex::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    /// Colours only on a terminal.
    RatioReporter() : ConsoleReporter(::isatty(1) != 0 ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) {
                continue;
            }
            const std::string name = r.run_name.function_name;
            const bool aggregate = r.run_type == Run::RT_Aggregate;
            if (aggregate && r.aggregate_name != "median") {
                continue;
            }
            Entry& e = m_times[name];
            if (aggregate) {
                e.median = r.GetAdjustedRealTime();
                e.hasMedian = true;
            } else {
                e.sum += r.GetAdjustedRealTime();
                ++e.count;
            }
        }
    }

    /// Time per iteration of a benchmark (its median, else its mean); 0 when
    /// it did not run.
    double Time(const std::string& name) const {
        const auto it = m_times.find(name);
        if (it == m_times.end()) {
            return 0.0;
        }
        const Entry& e = it->second;
        return e.hasMedian ? e.median : e.count > 0 ? e.sum / e.count : 0.0;
    }

    /// Prints "label: a / b = ratio" when both ran.
    void PrintRatio(const std::string& label, const std::string& a, const std::string& b) const {
        const double ta = Time(a);
        const double tb = Time(b);
        if (ta > 0.0 && tb > 0.0) {
            std::printf("%s: %s / %s = %.2f\n", label.c_str(), a.c_str(), b.c_str(), ta / tb);
        }
    }

private:
    struct Entry {
        double median = 0.0;
        bool hasMedian = false;
        double sum = 0.0;
        int count = 0;
    };
    std::map<std::string, Entry> m_times;
};

} // namespace ormavex::bench
