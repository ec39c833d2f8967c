#pragma once
// The Linux editor's benchmarks: what a host's idle call costs with the
// editor open, the way frames were presented before (the reference) and the
// way they are now, side by side in a closing table.

#include "tools/bench/bench_figures.h"

namespace vorn::bench {

void registerEditorBenchmarks();
void printEditorTable(const Figures& figures);

}  // namespace vorn::bench
