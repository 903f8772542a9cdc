// Benchmarks of the model formats and the picture: a sphere of 1,000,000 triangle faces written as
// .glb (tinygltf) against the same sphere as STL, as .3mf, and drawn off screen as the viewer's
// 800 x 600 picture (Mesa's software renderer; display lists, one frame, read back) and as PNG.
//   build/kubrix_bench --benchmark_filter=Model
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "geometry/figure_store.h"
#include "output/export/export.h"
#include "output/render/picture.h"

namespace {

// A unit sphere of radius 50: 1000 meridian by 500 parallel cells, two triangles each.
const kubrix::FigureStore& sphereStore() {
  static const kubrix::FigureStore store = [] {
    constexpr int kAround = 1000, kUp = 500;
    auto at = [](int i, int j) {
      const double lon = 2 * M_PI * i / kAround, lat = M_PI * j / kUp - M_PI / 2;
      return kubrix::Point3{50 * std::cos(lat) * std::cos(lon), 50 * std::cos(lat) * std::sin(lon), 50 * std::sin(lat)};
    };
    kubrix::FigureStore s;
    for (int i = 0; i < kAround; ++i)
      for (int j = 0; j < kUp; ++j) {
        s.colour = 1 + (i / 100 + j / 50) % 7;
        s.appendTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
        s.appendTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
      }
    return s;
  }();
  return store;
}

std::string benchPath(const char* ext) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kubrix-model-bench-" +
         std::to_string(getpid()) + ext;
}

void sphereToFile(benchmark::State& state, kubrix::ExportFormat format, const char* ext) {
  const kubrix::FigureStore& store = sphereStore();
  kubrix::ExportContext context;
  context.viewScale = kubrix::viewScaleOf(store);
  const std::string path = benchPath(ext);
  for (auto _ : state) {
    unlink(path.c_str());
    std::string error;
    if (!kubrix::writeExport(store, format, path, context, error)) {
      state.SkipWithError(("cannot write " + path + ": " + error).c_str());
      break;
    }
  }
  unlink(path.c_str());
  state.counters["faces"] = static_cast<double>(store.count());
}

void BM_ModelSphereGlb(benchmark::State& state) { sphereToFile(state, kubrix::ExportFormat::Glb, ".glb"); }
void BM_ModelSphereStl(benchmark::State& state) { sphereToFile(state, kubrix::ExportFormat::Stl, ".stl"); }
void BM_ModelSphere3mf(benchmark::State& state) { sphereToFile(state, kubrix::ExportFormat::ThreeMf, ".3mf"); }

void BM_ModelSpherePicture(benchmark::State& state) {
  const kubrix::FigureStore& store = sphereStore();
  const kubrix::render::PictureOptions options;
  for (auto _ : state) {
    kubrix::viewer::RgbPicture picture;
    std::string error;
    if (!kubrix::render::renderPicture(store, options, picture, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(picture.rgb.data());
  }
}

void BM_ModelSpherePng(benchmark::State& state) {
  const kubrix::FigureStore& store = sphereStore();
  const std::string path = benchPath(".png");
  for (auto _ : state) {
    std::string error;
    if (!kubrix::render::writePictureFile(store, kubrix::render::PictureOptions{}, path, ".png", error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  unlink(path.c_str());
}

BENCHMARK(BM_ModelSphereGlb)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ModelSphereStl)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ModelSphere3mf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ModelSpherePicture)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ModelSpherePng)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
