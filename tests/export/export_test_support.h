// Helpers of the export tests: stores built element by element or by running a script, texts split
// into lines, a scratch folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/figure_store.h"
#include "output/export/export.h"

namespace kubrix::exporttest {

// The clock of every test export: 2024-01-02T03:04:05Z.
inline constexpr std::time_t kTestClock = 1704164645;

// Appends with the given layer and colour (the store's current layer and colour are restored).
void addLine(FigureStore& s, Point3 a, Point3 b, int layer = 0, int colour = 1);
void addPoint(FigureStore& s, Point3 a, int layer = 0, int colour = 1);
void addTriangle(FigureStore& s, Point3 a, Point3 b, Point3 c, int layer = 0, int colour = 1);
void addQuad(FigureStore& s, Point3 a, Point3 b, Point3 c, Point3 d, int layer = 0, int colour = 1);

// The figure store after running a script file (tests/export/scripts/<name>.kx) as kubrix-run does.
FigureStore storeOfScript(const std::string& name);
std::string scriptPath(const std::string& name);

// The context kubrix-run uses for this store, with the test clock.
ExportContext contextFor(const FigureStore& store);

// Text lines split at CR LF; fails the test on a bare LF.
std::vector<std::string> crlfLines(std::string_view text);
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }
  // Names in the folder, sorted.
  std::vector<std::string> names() const;

 private:
  std::filesystem::path path_;
};

}  // namespace kubrix::exporttest
