// Console output as Google Benchmark prints it (only the aggregates when the
// benchmarks are repeated), followed by a summary: every allocation count
// against its target, and the time ratios that the suite exists to show (the
// library against the copying floor and against Cairo).
#ifndef VARNEK_BENCH_SUMMARYREPORTER_H
#define VARNEK_BENCH_SUMMARYREPORTER_H

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace VarnekBench {

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& reports) override;

    // Prints the summary. Returns false when a path allocated other than its
    // target; times are reported, never judged.
    bool printSummary(std::ostream& out) const;

private:
    struct Result {
        std::vector<double> cpuTimes;  // ns per iteration, one per repetition
        double medianCpuTime = -1.0;   // from the median aggregate, if reported
        double maxAllocs = -1.0;
        double allocsTarget = -1.0;
        double points = -1.0;
    };

    // CPU time per iteration in ns over the repetitions, or a negative value
    // if the benchmark did not run (filtered out, or Cairo not built in).
    double medianCpuTime(const std::string& name) const;
    double fastestCpuTime(const std::string& name) const;
    double counter(const std::string& name, double Result::*field) const;

    std::map<std::string, Result> m_results;
};

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_SUMMARYREPORTER_H
