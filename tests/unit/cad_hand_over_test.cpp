// The CAD hand-over without a display: which window each target takes, the temporary file names
// with their running numbers, and the output scale.
#include <gtest/gtest.h>

#include "engine/sjis.h"
#include "output/cad/hand_over.h"

namespace kubrix::cad {
namespace {

TEST(CadHandOver, WindowSearchByTitleText) {
  Settings s;  // "AutoCAD", "SketchUp", "SketchUp"
  const std::vector<TopWindow> windows = {{1, "Terminal"},
                                          {2, "AutoCAD 2008 - [Drawing1.dwg]"},
                                          {3, "Untitled - SketchUp Pro"},
                                          {4, "autocad lower case"},
                                          {5, "Second AutoCAD"}};
  // The last match wins; the comparison keeps case; one window may serve two targets.
  EXPECT_EQ(findTargetWindows(windows, s), (std::array<unsigned long, 3>{5, 3, 3}));
  s.gsu7.title = utf8ToSjis("図面");
  s.gsu6.title.clear();  // an empty text matches nothing
  EXPECT_EQ(findTargetWindows({{7, "無題 - 図面"}, {8, ""}}, s), (std::array<unsigned long, 3>{0, 0, 7}));
  // Only the first 255 characters of a title count.
  s.acad.title = "END";
  const std::string longTitle = std::string(252, 'x') + "あEND";
  EXPECT_EQ(findTargetWindows({{9, longTitle}}, s)[0], 0u);
  EXPECT_EQ(findTargetWindows({{9, longTitle.substr(1)}}, s)[0], 9u);
}

TEST(CadHandOver, TemporaryFilesAndNumbers) {
  Settings s;
  EXPECT_EQ(temporaryFileName(Target::Acad, s.acad), "temp.dxf");
  EXPECT_EQ(temporaryFileName(Target::Gsu6, s.gsu6), "temp.dxf");
  EXPECT_EQ(temporaryFileName(Target::Gsu7, s.gsu7), "temp.dae");
  s.acad.numbered = s.gsu7.numbered = true;
  EXPECT_EQ(temporaryFileName(Target::Acad, s.acad), "temp0.dxf");
  advanceNumbers(s);  // after any transfer, every numbered target counts on
  EXPECT_EQ(temporaryFileName(Target::Acad, s.acad), "temp1.dxf");
  EXPECT_EQ(temporaryFileName(Target::Gsu7, s.gsu7), "temp1.dae");
  EXPECT_EQ(s.gsu6.currentNumber, 0);
  s.acad.currentNumber = INT_MAX;
  advanceNumbers(s);
  EXPECT_EQ(s.acad.currentNumber, INT_MAX);
  EXPECT_EQ(std::string(notRunningMessage(Target::Gsu7)), "Google SketchUp7が起動されていません。");
  EXPECT_EQ(std::string(fileNotWrittenMessage(Target::Gsu6)), "一時DXFファイルが作成出来ませんでした。");
  EXPECT_EQ(std::string(fileNotWrittenMessage(Target::Gsu7)), "一時DAEファイルが作成出来ませんでした。");
}

TEST(CadHandOver, OutputScale) {
  const double expected[] = {1, 1, 10, 100, 1000, 10000, 1};
  for (int i = -1; i <= 5; ++i) EXPECT_EQ(outputScale(i), expected[i + 1]) << i;
}

}  // namespace
}  // namespace kubrix::cad
