// Helpers of the export tests.
#include "tests/export/export_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "files/script_file.h"
#include "files/settings.h"
#include "engine/engine.h"
#include "tests/script_store.h"

namespace kubrix::exporttest {

namespace {
template <typename F>
void withLayerColour(FigureStore& s, int layer, int colour, F append) {
  const int32_t oldLayer = s.layer, oldColour = s.colour;
  s.layer = layer, s.colour = colour;
  append();
  s.layer = oldLayer, s.colour = oldColour;
}
}  // namespace

void addLine(FigureStore& s, Point3 a, Point3 b, int layer, int colour) {
  withLayerColour(s, layer, colour, [&] { s.appendLine(a, b); });
}
void addPoint(FigureStore& s, Point3 a, int layer, int colour) {
  withLayerColour(s, layer, colour, [&] { s.appendPoint(a); });
}
void addTriangle(FigureStore& s, Point3 a, Point3 b, Point3 c, int layer, int colour) {
  withLayerColour(s, layer, colour, [&] { s.appendTriangle(a, b, c); });
}
void addQuad(FigureStore& s, Point3 a, Point3 b, Point3 c, Point3 d, int layer, int colour) {
  withLayerColour(s, layer, colour, [&] { s.appendQuad(a, b, c, d); });
}

std::string scriptPath(const std::string& name) { return std::string(KUBRIX_EXPORT_SCRIPTS) + "/" + name + ".kx"; }

FigureStore storeOfScript(const std::string& name) { return test::storeOfScriptFile(scriptPath(name)); }

ExportContext contextFor(const FigureStore& store) {
  ExportContext c;
  c.viewScale = viewScaleOf(store);
  c.now = kTestClock;
  return c;
}

std::vector<std::string> crlfLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) {
      ADD_FAILURE() << "text does not end with a line end";
      lines.emplace_back(text.substr(start));
      break;
    }
    if (lf == start || text[lf - 1] != '\r') ADD_FAILURE() << "bare LF after line " << lines.size();
    const size_t end = (lf > start && text[lf - 1] == '\r') ? lf - 1 : lf;
    lines.emplace_back(text.substr(start, end - start));
    start = lf + 1;
  }
  return lines;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ScratchDir::ScratchDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "kubrix-export-XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // A test may have left a folder read-only.
  for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
    if (e.is_directory(ec)) std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                                          std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::names() const {
  std::vector<std::string> n;
  for (const auto& e : std::filesystem::directory_iterator(path_)) n.push_back(e.path().filename().string());
  std::sort(n.begin(), n.end());
  return n;
}

}  // namespace kubrix::exporttest
