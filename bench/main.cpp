// Runs the benchmark suite and prints the summary of allocations and ratios.
// Exits with 1 when a path missed its allocation target: allocation counts do
// not depend on the machine, times do and are never judged here.
#include <iostream>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "SummaryReporter.h"

int main(int argc, char** argv) {
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
    return reporter.printSummary(std::cout) ? 0 : 1;
}
