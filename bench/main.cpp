// Runs the benchmark suite and prints the summary of allocations, ratios and
// the placement tables. Exits with 1 when a path missed its allocation target
// or a placement broke a guarantee: neither depends on the machine; times do
// and are never judged here.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "PlacementNames.h"
#include "SummaryReporter.h"

namespace {

// Removes the suite's own flag --varnek_smoke (few placement instances and
// frames, for the smoke run) from the arguments; true if it was given.
bool takeSmokeFlag(int& argc, char** argv) {
    bool smoke = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--varnek_smoke") == 0) {
            smoke = true;
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    return smoke;
}

// Removes --varnek_summary_out=FILE from the arguments: the summary is then
// written to FILE as well. Empty if not given.
std::string takeSummaryFile(int& argc, char** argv) {
    static constexpr const char* s_flag = "--varnek_summary_out=";
    std::string file;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strncmp(argv[i], s_flag, std::strlen(s_flag)) == 0) {
            file = argv[i] + std::strlen(s_flag);
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    const bool smoke = takeSmokeFlag(argc, argv);
    const std::string summaryFile = takeSummaryFile(argc, argv);
    VarnekBench::usePlacementSmokeSizes(smoke);
    VarnekBench::usePlacementRobustnessSmokeSizes(smoke);
    VarnekBench::useCalloutSmokeSizes(smoke);
    VarnekBench::useOrbitSmokeSizes(smoke);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    // Colours only on a terminal, so that logs of CI stay plain text.
    const bool colour = isatty(STDOUT_FILENO) != 0;
    VarnekBench::SummaryReporter reporter(colour ? benchmark::ConsoleReporter::OO_ColorTabular
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::cout.flush();
    const bool held = reporter.printSummary(std::cout);
    if (!summaryFile.empty()) {
        std::ofstream summary(summaryFile);
        reporter.printSummary(summary);
        if (!summary.flush()) {
            std::cerr << "varnek_bench: cannot write the summary to " << summaryFile << '\n';
            return 1;
        }
    }
    return held ? 0 : 1;
}
