// Golden export files: the stores of tests/export/scripts/*.kx written in every format, compared byte
// for byte with tests/regression/export/<script>.<ext> (the COLLADA dates from the test clock).
// KUBRIX_TEST_GENERATE=1 writes the expected files instead; read every line of them before keeping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

#include "tests/export/export_test_support.h"

namespace kubrix::exporttest {
namespace {

struct Golden {
  const char* script;
  ExportFormat format;
  const char* ext;
};

void PrintTo(const Golden& g, std::ostream* os) { *os << g.script << g.ext; }

class ExportGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(ExportGolden, MatchesTheExpectedFile) {
  const Golden g = GetParam();
  const FigureStore store = storeOfScript(g.script);
  const std::string name = std::string(g.script) + g.ext;
  const std::string actual = exportText(store, g.format, name, contextFor(store));
  const std::filesystem::path expected = std::filesystem::path(KUBRIX_EXPORT_EXPECTED) / name;
  const char* generate = std::getenv("KUBRIX_TEST_GENERATE");
  if (generate != nullptr && std::string(generate) == "1") {
    writeFile(expected, actual);
    GTEST_SKIP() << "generated " << expected << " (check it by hand)";
  }
  ASSERT_TRUE(std::filesystem::exists(expected)) << expected << " missing (KUBRIX_TEST_GENERATE=1 writes it)";
  const std::string want = readFile(expected);
  if (want == actual) return;
  // Show the first differing line.
  const auto a = crlfLines(actual), w = crlfLines(want);
  for (size_t i = 0; i < std::max(a.size(), w.size()); ++i) {
    const std::string al = i < a.size() ? a[i] : "<end>", wl = i < w.size() ? w[i] : "<end>";
    if (al != wl) {
      ADD_FAILURE() << name << " line " << i + 1 << ":\n  expected: " << wl << "\n  actual:   " << al;
      return;
    }
  }
  ADD_FAILURE() << name << " differs from " << expected;
}

std::vector<Golden> goldens() {
  std::vector<Golden> g;
  const std::pair<ExportFormat, const char*> formats[] = {
      {ExportFormat::Dxf, ".dxf"}, {ExportFormat::Stl, ".stl"}, {ExportFormat::Obj, ".obj"},
      {ExportFormat::Vrml, ".wrl"}, {ExportFormat::X3d, ".x3d"}, {ExportFormat::Collada, ".dae"}};
  for (const auto& [format, ext] : formats) g.push_back({"small", format, ext});
  // The closed box as the two mesh formats.
  g.push_back({"box", ExportFormat::Stl, ".stl"});
  g.push_back({"box", ExportFormat::Obj, ".obj"});
  return g;
}

INSTANTIATE_TEST_SUITE_P(Files, ExportGolden, ::testing::ValuesIn(goldens()),
                         [](const ::testing::TestParamInfo<Golden>& info) {
                           return std::string(info.param.script) + "_" + (info.param.ext + 1);
                         });

}  // namespace
}  // namespace kubrix::exporttest
