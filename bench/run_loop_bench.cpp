// Benchmarks of the run loop: script lines executed per second in a #WHILE loop of calculation lines
// (log off, log on, and log on with the conversion to UTF-8 that kubrix-run prints), and LINE appends
// per second. The argument of each benchmark is the number of loop passes of one run.
#include <benchmark/benchmark.h>

#include <string>

#include "files/settings.h"
#include "engine/engine.h"
#include "engine/sjis.h"

namespace {

// A counter, two arithmetic lines and the loop's #END: four executed lines per pass.
std::string calLoop(long long passes) {
  return "#VAR\r\ni=0\r\nx=0\r\ny=0\r\n#DRAW\r\n#WHILE i < " + std::to_string(passes) +
         "\r\nCAL i = i + 1\r\nCAL x = i * 2.5\r\nCAL y = x / 3 + 1\r\n#END\r\n";
}

// Eight LINE appends per pass, half with literal points and half with points from variables.
std::string lineLoop(long long passes) {
  return "#VAR\r\ni=0\r\nj=1\r\na\r\n#DRAW\r\n#WHILE i < " + std::to_string(passes) +
         "\r\n"
         "LINE a, 0, 0, 0, 10, 0, 0\r\n"
         "LINE a, 10, 0, 0, 10, 5, 0\r\n"
         "LINE a, 10, 5, 0, 0, 5, 0\r\n"
         "LINE a, 0, 5, 0, 0, 0, 0\r\n"
         "LINE a, i, 0, 0, i, j, 0\r\n"
         "LINE a, i, j, 0, j, i, 1\r\n"
         "LINE a, 0, i, j, j, 0, i\r\n"
         "LINE a, i, i, i, j, j, j\r\n"
         "CAL i = i + 1\r\nCAL j = j + 1\r\n#END\r\n";
}

enum class LogMode { Off, On, OnUtf8 };

void runLoop(benchmark::State& state, const std::string& body, LogMode mode, bool countAppends) {
  kubrix::Host host;
  kubrix::Engine engine(host);
  engine.setHeader(kubrix::scriptHeader(kubrix::Settings{}));
  engine.setBody(body);
  engine.logOff = mode == LogMode::Off;
  size_t logBytes = 0;
  if (mode == LogMode::On) {
    engine.log.setSink([&](std::string_view block) { logBytes += block.size(); });
  } else if (mode == LogMode::OnUtf8) {
    engine.log.setSink([&](std::string_view block) { logBytes += kubrix::sjisToUtf8(block).size(); });
  }
  double steps = 0, appends = 0;
  for (auto _ : state) {
    engine.resetAndRun();
    engine.log.flush();
    steps += static_cast<double>(engine.stepsExecuted());
    appends += static_cast<double>(engine.figures.count());
  }
  benchmark::DoNotOptimize(logBytes);
  state.counters["lines/s"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
  if (countAppends) state.counters["appends/s"] = benchmark::Counter(appends, benchmark::Counter::kIsRate);
  state.counters["lines/run"] = benchmark::Counter(steps / static_cast<double>(state.iterations()));
}

void BM_CalLoopLogOff(benchmark::State& state) { runLoop(state, calLoop(state.range(0)), LogMode::Off, false); }
void BM_CalLoopLogOn(benchmark::State& state) { runLoop(state, calLoop(state.range(0)), LogMode::On, false); }
void BM_CalLoopLogOnUtf8(benchmark::State& state) { runLoop(state, calLoop(state.range(0)), LogMode::OnUtf8, false); }
void BM_LineAppendLoopLogOff(benchmark::State& state) { runLoop(state, lineLoop(state.range(0)), LogMode::Off, true); }

BENCHMARK(BM_CalLoopLogOff)->RangeMultiplier(10)->Range(100, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalLoopLogOn)->RangeMultiplier(10)->Range(100, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalLoopLogOnUtf8)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineAppendLoopLogOff)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
