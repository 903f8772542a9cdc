// Bitmap bytes, the save-as rules and the table texts: plain data, no windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/windows/table_texts.h"
#include "output/render/bmp_writer.h"
#include "output/viewer/save_as.h"
#include "output/render/view_scale.h"

namespace kubrix {
namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

viewer::RgbPicture picture(int w, int h) {
  viewer::RgbPicture p;
  p.width = w, p.height = h;
  p.rgb.assign(static_cast<size_t>(w * h * 3), 255);
  return p;
}

TEST(Bitmap, TwentyFourBitRowsRunBottomUpInBlueGreenRedWithPadding) {
  viewer::RgbPicture p = picture(3, 2);
  // Top-left red, bottom-right blue.
  p.rgb[0] = 255, p.rgb[1] = 0, p.rgb[2] = 0;
  const size_t last = (1 * 3 + 2) * 3;
  p.rgb[last] = 0, p.rgb[last + 1] = 0, p.rgb[last + 2] = 255;
  const std::vector<uint8_t> b = viewer::bmp24Bytes(p);
  const uint32_t row = 12;  // 9 bytes padded to 12
  ASSERT_EQ(b.size(), 54u + row * 2);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(u32(b, 2), b.size());
  EXPECT_EQ(u32(b, 10), 54u);
  EXPECT_EQ(u32(b, 14), 40u);
  EXPECT_EQ(u32(b, 18), 3u);
  EXPECT_EQ(u32(b, 22), 2u);
  EXPECT_EQ(u16(b, 28), 24);
  EXPECT_EQ(u32(b, 34), row * 2);
  // The first stored row is the bottom one: its last pixel is blue (B, G, R = 255, 0, 0).
  EXPECT_EQ(b[54 + 6], 255);
  EXPECT_EQ(b[54 + 7], 0);
  EXPECT_EQ(b[54 + 8], 0);
  EXPECT_EQ(b[54 + 9], 0);  // padding
  // The second stored row is the top one: its first pixel is red.
  EXPECT_EQ(b[54 + row + 0], 0);
  EXPECT_EQ(b[54 + row + 2], 255);
  EXPECT_TRUE(viewer::bmp24Bytes(viewer::RgbPicture{}).empty());
}

TEST(Bitmap, EightBitPicturesMapToTheNearestPaletteColour) {
  const auto& pal = viewer::thumbnailPalette();
  EXPECT_EQ(pal[255], (std::array<uint8_t, 3>{255, 255, 255}));
  EXPECT_EQ(pal[0], (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(viewer::nearestPaletteIndex(255, 255, 255), 215);  // the cube's own white comes first
  const auto red = pal[viewer::nearestPaletteIndex(224, 69, 46)];
  EXPECT_EQ(red, (std::array<uint8_t, 3>{204, 51, 51}));
  // Greys keep finer steps than the cube's 51.
  const auto grey = pal[viewer::nearestPaletteIndex(130, 130, 130)];
  EXPECT_EQ(grey[0], grey[1]);
  EXPECT_LE(std::abs(grey[0] - 130), 3);

  const viewer::RgbPicture p = picture(64, 64);
  const std::vector<uint8_t> b = viewer::bmp8Bytes(p);
  ASSERT_EQ(b.size(), 14u + 40 + 1024 + 64 * 64);
  EXPECT_EQ(u16(b, 28), 8);
  EXPECT_EQ(u32(b, 10), 14u + 40 + 1024);
  EXPECT_EQ(u32(b, 46), 256u);
  EXPECT_EQ(b[14 + 40 + 215 * 4], 255);  // palette entries are B, G, R, 0
  EXPECT_EQ(b[14 + 40 + 1024], 215);     // a white pixel

  // A file that cannot be created is reported and leaves nothing.
  EXPECT_FALSE(viewer::writeBmp8("/nonexistent-folder/x.bmp", p));
  const std::string path = (std::filesystem::temp_directory_path() / "kubrix_bitmap_test.bmp").string();
  ASSERT_TRUE(viewer::writeBmp24(path, p));
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> back((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(back, viewer::bmp24Bytes(p));
  std::remove(path.c_str());
}

TEST(SaveAsRules, ExtensionsFormatsAndDoubleByteNames) {
  EXPECT_EQ(viewer::lowerExtension("/a/b/Model.DXF"), ".dxf");
  EXPECT_EQ(viewer::lowerExtension("/a/b.c/model"), "");  // a dot in the folder is no extension
  EXPECT_EQ(viewer::lowerExtension("/a/model."), ".");
  EXPECT_EQ(viewer::lowerExtension("x.tar.GZ"), ".gz");

  EXPECT_EQ(viewer::saveTargetForExtension(".stl")->format, ExportFormat::Stl);
  EXPECT_EQ(viewer::saveTargetForExtension(".dae")->format, ExportFormat::Collada);
  EXPECT_EQ(viewer::saveTargetForExtension(".wrl")->format, ExportFormat::Vrml);
  EXPECT_TRUE(viewer::saveTargetForExtension(".bmp")->bitmap);
  EXPECT_FALSE(viewer::saveTargetForExtension(".txt"));
  EXPECT_FALSE(viewer::saveTargetForExtension("."));
  for (int i = 0; i < viewer::kSaveFilterCount; ++i)
    EXPECT_TRUE(viewer::saveTargetForExtension(viewer::kSaveFilterExtensions[i])) << i;
  EXPECT_STREQ(viewer::kSaveFilterNames[3], "VRML2.0 Files(*.wrl)");
  // The model formats come after the seven of the dialog's first list, which keep their places.
  EXPECT_STREQ(viewer::kSaveFilterNames[6], "Bitmap Files(*.bmp)");
  EXPECT_STREQ(viewer::kSaveFilterNames[7], "glTF Binary Files(*.glb)");
  EXPECT_STREQ(viewer::kSaveFilterNames[8], "3MF Files(*.3mf)");
  EXPECT_EQ(viewer::saveTargetForExtension(".glb")->format, ExportFormat::Glb);
  EXPECT_EQ(viewer::saveTargetForExtension(".3mf")->format, ExportFormat::ThreeMf);
  EXPECT_FALSE(viewer::refusesDoubleByteNames(".glb"));

  EXPECT_TRUE(viewer::refusesDoubleByteNames(".x3d"));
  EXPECT_FALSE(viewer::refusesDoubleByteNames(".obj"));
  EXPECT_FALSE(viewer::hasDoubleByteCharacter("/home/ユーザー/model.wrl"));  // only the name counts
  EXPECT_TRUE(viewer::hasDoubleByteCharacter("/tmp/模型.wrl"));
  EXPECT_TRUE(viewer::hasDoubleByteCharacter("/tmp/ａ.wrl"));  // full-width letter
  EXPECT_FALSE(viewer::hasDoubleByteCharacter("/tmp/ﾓﾃﾞﾙ.wrl"));  // half-width katakana are one byte
  EXPECT_TRUE(viewer::hasDoubleByteCharacter("/tmp/café.wrl"));  // no single byte for it
  EXPECT_TRUE(viewer::hasDoubleByteCharacter(std::string("/tmp/a\xEF.wrl")));
}

TEST(SaveAsRules, ViewScaleTakesEveryPointSlotOfLiveElements) {
  FigureStore fs;
  EXPECT_EQ(viewer::computeViewScale(fs), 1e-8);
  fs.appendPoint({0, 0, 0});
  EXPECT_EQ(viewer::computeViewScale(fs), 1e-8);  // everything at the origin
  fs.appendLine({1, -2, 0}, {0, 0, 0.5});
  EXPECT_EQ(viewer::computeViewScale(fs), 2);
  fs.appendPoint({0, 0, -30});
  fs.at(3).live = false;
  EXPECT_EQ(viewer::computeViewScale(fs), 2);  // deleted elements do not count
  fs.at(1).p[3] = {0, 7, 0};  // an unused slot of a live element does
  EXPECT_EQ(viewer::computeViewScale(fs), 7);
  fs.at(2).p[2] = {std::numeric_limits<double>::infinity(), 0, 0};
  EXPECT_EQ(viewer::computeViewScale(fs), 7);
}

TEST(TableTexts, SelectionMemoTakesTwentyNumbersToALine) {
  EXPECT_EQ(selectionMemoLines({}), std::vector<std::string>{"選択図形要素数：0"});
  EXPECT_EQ(selectionMemoLines({7}), (std::vector<std::string>{"選択図形要素数：1", "{7}"}));
  std::vector<long long> sel;
  for (long long i = 1; i <= 21; ++i) sel.push_back(i);
  const auto lines = selectionMemoLines(sel);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "選択図形要素数：21");
  EXPECT_EQ(lines[1], "{1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,");
  EXPECT_EQ(lines[2], "21}");
  sel.pop_back();
  EXPECT_EQ(selectionMemoLines(sel).back(), "{1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20}");
}

TEST(TableTexts, CellsAndCounts) {
  FigureStore fs;
  fs.appendLine({0.1, 0, 0}, {1e-5, 123456789012345.0, -2.5});
  fs.appendPoint({1, 2, 3});
  fs.appendTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  fs.appendQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
  fs.appendPoint({0, 0, 0});
  fs.at(5).kind = 7;
  fs.at(2).live = false;
  fs.at(1).layer = 12;
  fs.at(1).colour = 250;
  const FigureElement& line = fs.at(1);
  EXPECT_EQ(dataTableCell(line, 1, 0), "1");
  EXPECT_EQ(dataTableCell(line, 1, 1), "○");
  EXPECT_EQ(dataTableCell(line, 1, 2), "直線");
  EXPECT_EQ(dataTableCell(line, 1, 3), "12");
  EXPECT_EQ(dataTableCell(line, 1, 4), "250");
  EXPECT_EQ(dataTableCell(line, 1, 5), "0.1");
  EXPECT_EQ(dataTableCell(line, 1, 8), "1E-5");
  EXPECT_EQ(dataTableCell(line, 1, 9), "123456789012345");
  EXPECT_EQ(dataTableCell(line, 1, 10), "-2.5");
  EXPECT_EQ(dataTableCell(line, 1, 16), "0");
  EXPECT_EQ(dataTableCell(fs.at(2), 2, 1), "－");
  EXPECT_EQ(dataTableCell(fs.at(2), 2, 2), "点");
  EXPECT_EQ(dataTableCell(fs.at(3), 3, 2), "三角面");
  EXPECT_EQ(dataTableCell(fs.at(4), 4, 2), "四角面");
  EXPECT_EQ(dataTableCell(fs.at(5), 5, 2), "？");

  const DataTableSnapshot s = makeDataTableSnapshot(fs, {3, 1});
  EXPECT_EQ(dataTableStatusText(s.live, s.all),
            "直線 1，点 0，三角面 1，四角面 1，？ 1　　削除データ含（直線 1，点 1，三角面 1，四角面 1，？ 1）");
  EXPECT_EQ(s.selection, (std::vector<long long>{3, 1}));
  EXPECT_EQ(s.rows.size(), 5u);
}

}  // namespace
}  // namespace kubrix
