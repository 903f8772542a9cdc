// Benchmarks of drawing through the current matrix: a CIRCLE2D of 1000 segments and a CSLD3D fan of
// 1000 triangles, each drawn 1000 times per run under a turned and moved matrix, log off.
// Reported as figure elements appended per second.
#include <benchmark/benchmark.h>

#include <string>

#include "engine_runs.h"

namespace {

std::string drawLoop(const std::string& command, long long passes) {
  return "#VAR\r\ni=0\r\nr=10\r\na\r\n#DRAW\r\nMATRIXA 1, 2, 3, 0.5, 0.25, 0.125\r\n#WHILE i < " +
         std::to_string(passes) + "\r\n" + command + "\r\nCAL i = i + 1\r\n#END\r\n";
}

void drawElements(benchmark::State& state, const std::string& command) {
  kubrix::bench::runScript(state, drawLoop(command, state.range(0)), "elements/s", "elements/run");
}

void BM_Circle2D(benchmark::State& state) { drawElements(state, "CIRCLE2D a, 1000, i, 0, r"); }
void BM_Csld3D(benchmark::State& state) { drawElements(state, "CSLD3D a, 1000, i, 0, 5, r, r, 0, 0"); }

}  // namespace

BENCHMARK(BM_Circle2D)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Csld3D)->Arg(1000)->Unit(benchmark::kMillisecond);
