// vorn_bench: the engine's throughput and the Linux editor's cost per host
// idle call, on Google Benchmark, each closed by a table that sets what the
// project ships beside its reference, measured in the same run.
//
// Usage: vorn_bench [--quick] [Google Benchmark's --benchmark_... options]
//   --quick: a short smoke run, the engine's figures rough.
//   --benchmark_filter=editor (or =engine) runs one half.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/bench/editor_bench.h"
#include "tools/bench/engine_bench.h"

namespace {

// --quick stands for a short minimum time per benchmark.
constexpr const char* kQuickOption = "--quick";
constexpr const char* kQuickRun = "--benchmark_min_time=0.01";

}  // namespace

int main(int argc, char** argv) {
    // --quick is ours; everything else goes to Google Benchmark.
    std::vector<char*> arguments(argv, argv + argc);
    for (char*& argument : arguments)
        if (std::strcmp(argument, kQuickOption) == 0) argument = const_cast<char*>(kQuickRun);
    int count = argc;
    arguments.push_back(nullptr);

    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) {
        std::fprintf(stderr, "usage: %s [%s] [--benchmark_...]\n", argv[0], kQuickOption);
        return 2;
    }
    vorn::bench::printEngineHeading();
    std::fflush(stdout);
    vorn::bench::registerEngineBenchmarks();
    vorn::bench::registerEditorBenchmarks();
    vorn::bench::KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vorn::bench::printEngineTable(reporter.figures);
    vorn::bench::printEditorTable(reporter.figures);
    benchmark::Shutdown();
    return 0;
}
