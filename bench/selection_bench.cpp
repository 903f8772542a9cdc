// Selection on large stores: ALLSEL and ADDSEL over 1,000,000 elements, and the chain walks (ARRSEL,
// RENSET, the ordered chain of S_FACE1 .. S_PICK2 with the set in reverse order, an RLSEL trace)
// over a polyline of 100,000 segments, the segment set of a fan of 100,000 lines from one point, and
// ARRSEL over a square drawn 20,000 times over itself.
// Reported per call.
#include <benchmark/benchmark.h>

#include <cmath>

#include "geometry/chain.h"
#include "geometry/selection.h"

namespace {

using namespace kubrix;

// A mixed store: lines, points and faces on ten layers, every tenth element deleted.
FigureStore mixedStore(size_t n) {
  FigureStore s;
  for (size_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(i);
    s.layer = static_cast<int32_t>(i % 10);
    switch (i % 4) {
      case 0: s.appendLine({x, 0, 0}, {x, 1, 0}); break;
      case 1: s.appendPoint({x, 2, 0}); break;
      case 2: s.appendTriangle({x, 0, 1}, {x + 1, 0, 1}, {x, 1, 1}); break;
      default: s.appendQuad({x, 0, 2}, {x + 1, 0, 2}, {x + 1, 1, 2}, {x, 1, 2}); break;
    }
    if (i % 10 == 9) s.at(s.count()).live = false;
  }
  return s;
}

// A spiral polyline of n segments, drawn as separate lines in order.
FigureStore polyline(size_t n) {
  FigureStore s;
  Point3 prev{1, 0, 0};
  for (size_t i = 1; i <= n; ++i) {
    const double a = 0.01 * static_cast<double>(i), r = 1 + 0.001 * static_cast<double>(i);
    const Point3 next{r * std::cos(a), r * std::sin(a), 0.0001 * static_cast<double>(i)};
    s.appendLine(prev, next);
    prev = s.at(s.count()).p[1];
  }
  return s;
}

void BM_AllSel(benchmark::State& state) {
  const FigureStore s = mixedStore(static_cast<size_t>(state.range(0)));
  Selection sel;
  for (auto _ : state) {
    selectAll(s, sel, {1, 1 | 2 | 4, kAny, kAny});
    benchmark::DoNotOptimize(sel.data());
  }
  state.counters["selected"] = static_cast<double>(sel.size());
}

// ADDSEL of the whole store onto a set that already holds every other element.
void BM_AddSel(benchmark::State& state) {
  const FigureStore s = mixedStore(static_cast<size_t>(state.range(0)));
  Selection half;
  for (size_t n = 1; n <= s.count(); n += 2) half.push_back(static_cast<int32_t>(n));
  Selection sel;
  for (auto _ : state) {
    sel = half;
    addRange(s, sel, 1, 99999999, {kAny, kAny, kAny, kAny});
    benchmark::DoNotOptimize(sel.data());
  }
  state.counters["selected"] = static_cast<double>(sel.size());
}

void BM_ArrSelPolyline(benchmark::State& state) {
  const FigureStore s = polyline(static_cast<size_t>(state.range(0)));
  Selection sel;
  for (auto _ : state) {
    sel.clear();
    addConnected(s, sel, {1, 0, 0}, 0, {1, 1, kAny, kAny});
  }
  state.counters["selected"] = static_cast<double>(sel.size());
}

void BM_RenSetPolyline(benchmark::State& state) {
  const FigureStore s = polyline(static_cast<size_t>(state.range(0)));
  Selection sel;
  selectAll(s, sel, {});
  std::vector<Point3> chain;
  for (auto _ : state) {
    chain.clear();
    appendSelectedLines(chain, s, sel);
  }
  state.counters["points"] = static_cast<double>(chain.size());
}

// The ordered chain with the set in reverse order: every pass of a plain scan would find one line.
void BM_OrderedChainReversed(benchmark::State& state) {
  const FigureStore s = polyline(static_cast<size_t>(state.range(0)));
  Selection sel;
  // The first line first, then the others from the far end back.
  sel.push_back(1);
  for (size_t n = s.count(); n >= 2; --n) sel.push_back(static_cast<int32_t>(n));
  size_t points = 0;
  for (auto _ : state) points = orderedChain(s, sel).size();
  state.counters["points"] = static_cast<double>(points);
}

void BM_TracePolyline(benchmark::State& state) {
  const FigureStore s = polyline(static_cast<size_t>(state.range(0)));
  size_t points = 0;
  for (auto _ : state) points = traceChain(s, {1, 0, 0}, 0, {}, TraceRule::Straightest, Matrix4::identity()).size();
  state.counters["points"] = static_cast<double>(points);
}

// The segment set of a fan of lines from one point, each line there twice: the set that S_SWEP1,
// S_ROT1 and S_WALL3 build from a selection of lines sharing an end.
void BM_SegmentSetFan(benchmark::State& state) {
  const size_t n = static_cast<size_t>(state.range(0));
  FigureStore s;
  for (size_t i = 0; i < n; ++i) {
    const double a = 2 * M_PI * static_cast<double>(i) / static_cast<double>(n);
    s.appendLine({0, 0, 0}, {std::cos(a), std::sin(a), 0});
    s.appendLine({std::cos(a), std::sin(a), 0}, {0, 0, 0});
  }
  Selection sel;
  selectAll(s, sel, {});
  size_t segments = 0;
  for (auto _ : state) segments = segmentSet(s, sel).size();
  state.counters["segments"] = static_cast<double>(segments);
}

// ARRSEL over a square drawn 20,000 times over itself: every corner is the end of 40,000 lines.
void BM_ArrSelStacked(benchmark::State& state) {
  FigureStore s;
  for (int64_t i = 0; i < state.range(0); ++i) {
    s.appendLine({0, 0, 0}, {1, 0, 0});
    s.appendLine({1, 0, 0}, {1, 1, 0});
    s.appendLine({1, 1, 0}, {0, 1, 0});
    s.appendLine({0, 1, 0}, {0, 0, 0});
  }
  Selection sel;
  for (auto _ : state) {
    sel.clear();
    addConnected(s, sel, {0, 0, 0}, 0, {1, 1, kAny, kAny});
  }
  state.counters["selected"] = static_cast<double>(sel.size());
}

}  // namespace

BENCHMARK(BM_AllSel)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddSel)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrSelPolyline)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenSetPolyline)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderedChainReversed)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TracePolyline)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SegmentSetFan)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrSelStacked)->Arg(20000)->Unit(benchmark::kMillisecond);
