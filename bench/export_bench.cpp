// Benchmarks of the export writers: a store of 1,000,000 triangle faces written as STL and OBJ, and
// 1,000,000 lines as DXF (plus COLLADA and X3D for comparison), to a file in $TMPDIR (or /tmp) and
// into memory. The rate is bytes of export text per second (Google Benchmark shows it in MiB/s).
//   build/kubrix_bench --benchmark_filter=Export
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "geometry/figure_store.h"
#include "output/export/export.h"

namespace {

// A height field: x and y on a 0.1 grid, z with the twelve decimals that curved geometry stores.
kubrix::Point3 gridPoint(int i, int j) {
  const double x = i * 0.1, y = j * 0.1;
  return {x, y, 10 * std::sin(x * 0.37) * std::cos(y * 0.23)};
}

// 1,000,000 triangles: two per cell of a 1000 x 500 grid, sharing their corners.
const kubrix::FigureStore& triangleStore() {
  static const kubrix::FigureStore store = [] {
    kubrix::FigureStore s;
    for (int i = 0; i < 1000; ++i)
      for (int j = 0; j < 500; ++j) {
        s.appendTriangle(gridPoint(i, j), gridPoint(i + 1, j), gridPoint(i + 1, j + 1));
        s.appendTriangle(gridPoint(i, j), gridPoint(i + 1, j + 1), gridPoint(i, j + 1));
      }
    return s;
  }();
  return store;
}

// 1,000,000 lines along the same grid, over eight layers and colours.
const kubrix::FigureStore& lineStore() {
  static const kubrix::FigureStore store = [] {
    kubrix::FigureStore s;
    for (int i = 0; i < 1000; ++i)
      for (int j = 0; j < 1000; ++j) {
        s.layer = (i + j) % 8;
        s.colour = 1 + (i + j) % 8;
        s.appendLine(gridPoint(i, j), gridPoint(i + 1, j + 1));
      }
    return s;
  }();
  return store;
}

std::string benchPath(const char* ext) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kubrix-export-bench-" +
         std::to_string(getpid()) + ext;
}

void toFile(benchmark::State& state, const kubrix::FigureStore& store, kubrix::ExportFormat format, const char* ext) {
  kubrix::ExportContext context;
  context.viewScale = kubrix::viewScaleOf(store);
  const std::string path = benchPath(ext);
  int64_t bytes = 0;
  for (auto _ : state) {
    unlink(path.c_str());  // a new file each time, as a first save is
    std::string error;
    if (!kubrix::writeExport(store, format, path, context, error)) {
      state.SkipWithError(("cannot write " + path + ": " + error).c_str());
      break;
    }
    state.PauseTiming();
    bytes += static_cast<int64_t>(std::filesystem::file_size(path));
    state.ResumeTiming();
  }
  unlink(path.c_str());
  state.SetBytesProcessed(bytes);
}

void toMemory(benchmark::State& state, const kubrix::FigureStore& store, kubrix::ExportFormat format, const char* ext) {
  kubrix::ExportContext context;
  context.viewScale = kubrix::viewScaleOf(store);
  int64_t bytes = 0;
  for (auto _ : state) {
    const std::string text = kubrix::exportText(store, format, std::string("bench") + ext, context);
    bytes += static_cast<int64_t>(text.size());
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(bytes);
}

void BM_ExportStlFile(benchmark::State& s) { toFile(s, triangleStore(), kubrix::ExportFormat::Stl, ".stl"); }
void BM_ExportObjFile(benchmark::State& s) { toFile(s, triangleStore(), kubrix::ExportFormat::Obj, ".obj"); }
void BM_ExportDxfFile(benchmark::State& s) { toFile(s, lineStore(), kubrix::ExportFormat::Dxf, ".dxf"); }
void BM_ExportDaeFile(benchmark::State& s) { toFile(s, lineStore(), kubrix::ExportFormat::Collada, ".dae"); }
void BM_ExportX3dFile(benchmark::State& s) { toFile(s, triangleStore(), kubrix::ExportFormat::X3d, ".x3d"); }
void BM_ExportStlMemory(benchmark::State& s) { toMemory(s, triangleStore(), kubrix::ExportFormat::Stl, ".stl"); }
void BM_ExportObjMemory(benchmark::State& s) { toMemory(s, triangleStore(), kubrix::ExportFormat::Obj, ".obj"); }
void BM_ExportDxfMemory(benchmark::State& s) { toMemory(s, lineStore(), kubrix::ExportFormat::Dxf, ".dxf"); }

BENCHMARK(BM_ExportStlFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportObjFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportDxfFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportDaeFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportX3dFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportStlMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportObjMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ExportDxfMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
