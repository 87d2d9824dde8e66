// The summary after the run: allocation counts against their targets, and
// the ratios of the label outline to the copying floor and to Cairo.
#include "SummaryReporter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "BenchmarkNames.h"

namespace VarnekBench {

namespace {

enum class Bound { AtMost, AtLeast };

// A claim of the suite: numerator time / denominator time against a bound.
struct RatioClaim {
    const char* what;
    const char* numerator;
    const char* denominator;
    Bound bound;
    double limit;
};

constexpr RatioClaim s_ratioClaims[] = {
    {"round label + triangle (23 points), getOffset+getPolygon / floor", s_roundTriangularOutline,
     s_floor23Points, Bound::AtMost, 2.0},
    {"flat label + triangle (11 points) / round label + triangle (23 points)",
     s_flatTriangularOutline, s_roundTriangularOutline, Bound::AtMost, 0.8},
    {"Cairo outline / library outline (round corners + pointer)", s_cairoOutline,
     s_roundTriangularOutline, Bound::AtLeast, 10.0},
};

double median(std::vector<double> values) {
    if (values.empty()) {
        return -1.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

double counterValue(const benchmark::BenchmarkReporter::Run& run, const char* name) {
    const auto found = run.counters.find(name);
    return found == run.counters.end() ? -1.0 : found->second.value;
}

// Time of a per-point cost model t = fixed + n * perPoint through two runs.
struct CostModel {
    double fixed;
    double perPoint;
};

CostModel fitCost(double timeFew, double few, double timeMany, double many) {
    const double perPoint = (timeMany - timeFew) / (many - few);
    return {timeFew - few * perPoint, perPoint};
}

}  // namespace

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
    for (const Run& run : reports) {
        if (run.error_occurred) {
            continue;
        }
        // By the registered name, without the iteration and repetition counts
        // that benchmarks with fixed counts carry in their full names.
        const std::string& arguments = run.run_name.args;
        Result& result =
            m_results[run.run_name.function_name + (arguments.empty() ? "" : "/" + arguments)];
        const bool isIteration = run.run_type == Run::RT_Iteration;
        // In ns whatever unit the benchmark shows its times in.
        const double cpuTime =
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        if (isIteration) {
            result.cpuTimes.push_back(cpuTime);
        } else if (run.aggregate_name == "median") {
            result.medianCpuTime = cpuTime;
        }
        // The spread aggregates carry the spread of the counters, not counts.
        if (isIteration || run.aggregate_name == "median" || run.aggregate_name == "mean") {
            result.maxAllocs = std::max(result.maxAllocs, counterValue(run, "allocs"));
            result.allocsTarget = counterValue(run, "allocs_target");
            result.points = std::max(result.points, counterValue(run, "points"));
        }
        if (isIteration || run.aggregate_name == "median") {
            for (const auto& [counterName, value] : run.counters) {
                result.counters[counterName] = value.value;
            }
        }
    }
    // Repeated benchmarks show their aggregates only; the single repetitions
    // are kept above for the fastest-repetition ratios.
    std::vector<Run> shown;
    for (const Run& run : reports) {
        if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) {
            shown.push_back(run);
        }
    }
    if (!shown.empty()) {
        ConsoleReporter::ReportRuns(shown);
    }
}

double SummaryReporter::medianCpuTime(const std::string& name) const {
    const auto found = m_results.find(name);
    if (found == m_results.end()) {
        return -1.0;
    }
    const Result& result = found->second;
    return result.medianCpuTime >= 0.0 ? result.medianCpuTime : median(result.cpuTimes);
}

double SummaryReporter::fastestCpuTime(const std::string& name) const {
    const auto found = m_results.find(name);
    if (found == m_results.end() || found->second.cpuTimes.empty()) {
        return medianCpuTime(name);
    }
    const std::vector<double>& times = found->second.cpuTimes;
    return *std::min_element(times.begin(), times.end());
}

double SummaryReporter::counter(const std::string& name, double Result::*field) const {
    const auto found = m_results.find(name);
    return found == m_results.end() ? -1.0 : found->second.*field;
}

double SummaryReporter::namedCounter(const std::string& name, const std::string& counter) const {
    const auto found = m_results.find(name);
    if (found == m_results.end()) {
        return -1.0;
    }
    const auto value = found->second.counters.find(counter);
    return value == found->second.counters.end() ? -1.0 : value->second;
}

bool SummaryReporter::printSummary(std::ostream& out) const {
    char line[256];
    bool allocationsMet = true;

    out << "\nAllocations per call (operator new), against the target\n";
    for (const auto& [name, result] : m_results) {
        if (result.allocsTarget < 0.0 || result.maxAllocs < 0.0) {
            continue;
        }
        // Every call of a path makes the same allocations, so the average is
        // exact; a fraction means some calls allocate and some do not.
        const bool met = std::fabs(result.maxAllocs - result.allocsTarget) < 1e-9;
        allocationsMet = allocationsMet && met;
        std::snprintf(line, sizeof line, "  %-62s %6.2f  target %2.0f  %s\n", name.c_str(),
                      result.maxAllocs, result.allocsTarget, met ? "ok" : "MISSED");
        out << line;
    }

    // On a machine shared with other work the fastest repetition is the one
    // least disturbed, so the claims are judged on it; the ratio of the
    // medians is shown beside it.
    out << "\nRatios of CPU times: fastest repetitions (medians), against the claim\n";
    for (const RatioClaim& claim : s_ratioClaims) {
        const double numerator = fastestCpuTime(claim.numerator);
        const double denominator = fastestCpuTime(claim.denominator);
        if (numerator <= 0.0 || denominator <= 0.0) {
            std::snprintf(line, sizeof line, "  %-72s  not run\n", claim.what);
            out << line;
            continue;
        }
        const double ratio = numerator / denominator;
        const double medianRatio =
            medianCpuTime(claim.numerator) / medianCpuTime(claim.denominator);
        const bool met = claim.bound == Bound::AtMost ? ratio <= claim.limit : ratio >= claim.limit;
        std::snprintf(line, sizeof line, "  %-72s %6.2f (%6.2f)  target %s %.1f  %s\n", claim.what,
                      ratio, medianRatio, claim.bound == Bound::AtMost ? "<=" : ">=", claim.limit,
                      met ? "met" : "not met");
        out << line;
    }

    const double cairoPoints = counter(s_cairoOutline, &Result::points);
    const double libraryPoints = counter(s_roundTriangularOutline, &Result::points);
    if (cairoPoints > 0.0 && libraryPoints > 0.0) {
        std::snprintf(line, sizeof line,
                      "  points per outline: library %.1f, Cairo %.1f (mean over the inputs)\n",
                      libraryPoints, cairoPoints);
        out << line;
    }

    // Split the outline's time into a fixed part and a part per point, from
    // the flat (11 points) and the round (23 points) label (fastest
    // repetitions); the floor the same.
    const double flat = fastestCpuTime(s_flatTriangularOutline);
    const double round = fastestCpuTime(s_roundTriangularOutline);
    const double floor11 = fastestCpuTime(s_floor11Points);
    const double floor23 = fastestCpuTime(s_floor23Points);
    if (flat > 0.0 && round > 0.0 && floor11 > 0.0 && floor23 > 0.0) {
        const CostModel label = fitCost(flat, 11.0, round, 23.0);
        const CostModel floor = fitCost(floor11, 11.0, floor23, 23.0);
        std::snprintf(line, sizeof line,
                      "  cost model (ns): label %.1f fixed + %.2f per point; floor %.1f fixed + "
                      "%.2f per point\n",
                      label.fixed, label.perPoint, floor.fixed, floor.perPoint);
        out << line;
    }

    const bool placementHeld = printPlacementSummary(out);
    const bool calloutsHeld = printCalloutSummary(out);
    const bool guaranteesHeld = printOrbitSummary(out) && placementHeld && calloutsHeld;

    out << (allocationsMet ? "\nEvery allocation target is met.\n"
                           : "\nAn allocation target was MISSED (see above).\n");
    if (!guaranteesHeld) {
        out << "A placement broke a guarantee (see ERROR above).\n";
    }
    return allocationsMet && guaranteesHeld;
}

}  // namespace VarnekBench
