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
    // target or a placement broke a guarantee; times are reported, never
    // judged.
    bool printSummary(std::ostream& out) const;

private:
    struct Result {
        std::vector<double> cpuTimes;  // ns per iteration, one per repetition
        double medianCpuTime = -1.0;   // from the median aggregate, if reported
        double maxAllocs = -1.0;
        double allocsTarget = -1.0;
        double points = -1.0;
        // Every other counter, as the last iteration or the median reported it.
        std::map<std::string, double> counters;
    };

    // CPU time per iteration in ns over the repetitions, or a negative value
    // if the benchmark did not run (filtered out, or Cairo not built in).
    double medianCpuTime(const std::string& name) const;
    double fastestCpuTime(const std::string& name) const;
    double counter(const std::string& name, double Result::*field) const;
    // A named counter of a benchmark, or a negative value if it did not run.
    double namedCounter(const std::string& name, const std::string& counter) const;

    // The placement tables and their targets; false when a placement broke a
    // guarantee (an overlap, a label outside the view).
    bool printPlacementSummary(std::ostream& out) const;
    // The orbit of a 3D view (PlacementOrbit.cpp); false when a frame broke
    // a guarantee.
    bool printOrbitSummary(std::ostream& out) const;
    // Callouts (PlacementCallouts.cpp); false when one broke a guarantee.
    bool printCalloutSummary(std::ostream& out) const;

    std::map<std::string, Result> m_results;
};

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_SUMMARYREPORTER_H
