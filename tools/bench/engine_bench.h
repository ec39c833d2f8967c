#pragma once
// The engine's benchmarks: the plain reference engine and the fast engine at
// each instruction set, side by side in a closing table.

#include "tools/bench/bench_figures.h"

namespace vorn::bench {

void printEngineHeading();
void registerEngineBenchmarks();
void printEngineTable(const Figures& figures);

}  // namespace vorn::bench
