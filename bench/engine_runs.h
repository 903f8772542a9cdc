// Shared by the drawing benchmarks: run a script body with the log off on a fresh engine, once per
// benchmark iteration, and report the figure elements it leaves per second and per run.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "engine/engine.h"
#include "files/settings.h"

namespace kubrix::bench {

inline void runScript(benchmark::State& state, const std::string& script, const char* perSecond,
                      const char* perRun) {
  Host host;
  Engine engine(host);
  engine.setHeader(scriptHeader(Settings{}));
  engine.setBody(script);
  engine.logOff = true;
  double elements = 0;
  for (auto _ : state) {
    engine.resetAndRun();
    elements += static_cast<double>(engine.figures.count());
  }
  state.counters[perSecond] = benchmark::Counter(elements, benchmark::Counter::kIsRate);
  state.counters[perRun] = benchmark::Counter(elements / static_cast<double>(state.iterations()));
}

}  // namespace kubrix::bench
