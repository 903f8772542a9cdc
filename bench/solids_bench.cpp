// Benchmarks of the primitive solids: one SPHERE of 1000 divisions (500,000 faces), one TORUS of
// 100 x 100 steps, and a loop of small cylinders (the cost of a solid command itself), log off.
// Reported as faces appended per second.
#include <benchmark/benchmark.h>

#include <string>

#include "engine_runs.h"

namespace {

void drawSolids(benchmark::State& state, const std::string& body) {
  kubrix::bench::runScript(state, "#VAR\r\ni=0\r\na\r\n#DRAW\r\n" + body, "faces/s", "faces/run");
}

void BM_Sphere1000(benchmark::State& state) { drawSolids(state, "SPHERE a, 1000, 1, 0\r\n"); }
void BM_Sphere1000Turned(benchmark::State& state) {
  drawSolids(state, "MATRIXA 1, 2, 3, 0.5, 0.25, 0.125\r\nSPHERE a, 1000, 1, 0\r\n");
}
void BM_Torus100(benchmark::State& state) { drawSolids(state, "TORUS a, 100, 100, 1, 3, 0\r\n"); }
void BM_CylinderLoop(benchmark::State& state) {
  drawSolids(state, "#WHILE i < 10000\r\nCYLIND a, 12, 1, i, 1, 1, 0\r\nCAL i = i + 1\r\n#END\r\n");
}

}  // namespace

BENCHMARK(BM_Sphere1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sphere1000Turned)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Torus100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CylinderLoop)->Unit(benchmark::kMillisecond);
