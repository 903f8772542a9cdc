// kubrix-run -o NAME.png / NAME.bmp: the viewer's picture drawn without a display. Colours at known
// pixels (the viewer's own pixel tests give the same), the picture options, and the failures.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>

#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  std::array<int, 3> at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

Picture readPng(const std::string& path) {
  const std::string bytes = readFile(path);
  Picture p;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return p;
  image.format = PNG_FORMAT_RGB;
  p.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) return Picture{};
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  return p;
}

// The 24-bit bitmap: bottom-up BGR rows padded to 4 bytes.
Picture readBmp(const std::string& path) {
  const std::string b = readFile(path);
  Picture p;
  if (b.size() < 54 || b.substr(0, 2) != "BM") return p;
  auto u32 = [&](size_t at) { return static_cast<uint32_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
                                                    static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<unsigned char>(b[at + 3]) << 24); };
  p.width = static_cast<int>(u32(18));
  p.height = static_cast<int>(u32(22));
  const size_t offset = u32(10), stride = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
  p.rgb.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 3);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      for (int c = 0; c < 3; ++c)
        p.rgb[(static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)) * 3 + static_cast<size_t>(c)] =
            static_cast<unsigned char>(b[offset + static_cast<size_t>(p.height - 1 - y) * stride + static_cast<size_t>(x) * 3 + 2 - static_cast<size_t>(c)]);
  return p;
}

// The pixel where a point of the "X-Y" view (view units: coordinates / view scale, z = 0) lands:
// 40 degrees over the picture and the viewer's 41-pixel panel above it, seen from 7 units.
std::pair<int, int> projectXY(const Picture& p, double x, double y) {
  const double w = p.width, h = p.height + 41;
  const double f = 1 / std::tan(20 * M_PI / 180);
  const double nx = f / (w / h) * x / 7, ny = f * y / 7;
  return {static_cast<int>(std::floor((nx + 1) / 2 * w)), static_cast<int>(std::floor((1 - ny) / 2 * h)) - 41};
}

::testing::AssertionResult near(const Picture& p, double x, double y, std::array<int, 3> want, int tolerance = 6) {
  const auto [px, py] = projectXY(p, x, y);
  if (px < 0 || py < 0 || px >= p.width || py >= p.height) return ::testing::AssertionFailure() << "outside";
  const auto got = p.at(px, py);
  for (int c = 0; c < 3; ++c)
    if (std::abs(got[static_cast<size_t>(c)] - want[static_cast<size_t>(c)]) > tolerance)
      return ::testing::AssertionFailure() << "pixel " << px << "," << py << " is (" << got[0] << ", " << got[1] << ", "
                                           << got[2] << "), want (" << want[0] << ", " << want[1] << ", " << want[2] << ")";
  return ::testing::AssertionSuccess();
}

// A green quad facing +Z on the left, a blue one on the right (view scale 10).
const std::vector<std::string> kQuads = {
    "#VAR", "a", "#DRAW",
    "PEN 3", "4SOLID a,-10,-4,0,-2,-4,0,-2,4,0,-10,4,0",
    "PEN 5", "4SOLID a,2,-4,0,10,-4,0,10,4,0,2,4,0",
};
constexpr std::array<int, 3> kWhite{255, 255, 255};

// No display: the picture needs no X server.
RunResult runHeadless(const std::vector<std::string>& args) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  return runCli(args);
}

TEST(CliPicture, PngAndBmpShowTheViewersColoursWithoutADisplay) {
  TempDir dir;
  const auto script = dir.write("quads.kx", sjisScript(kQuads));
  const RunResult r = runHeadless({"--log-off", "--view", "xy", "-o", dir.file("q.png"), "-o", dir.file("Q.BMP"), script});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const Picture png = readPng(dir.file("q.png"));
  ASSERT_EQ(png.width, 800);  // the default size
  ASSERT_EQ(png.height, 600);
  // Lit faces as in the viewer: green diffuse with white specular; blue with the green ambient.
  EXPECT_TRUE(near(png, -0.6, 0.2, {46, 247, 46}));
  EXPECT_TRUE(near(png, 0.6, 0.2, {46, 69, 224}));
  // The red X axis between the quads, white around it, white corners.
  const auto axis = png.at(projectXY(png, 0.1, 0).first, projectXY(png, 0.1, 0).second);
  EXPECT_GT(axis[0], 150);
  EXPECT_LT(axis[1], 120);
  EXPECT_TRUE(near(png, 0.1, 0.1, kWhite));
  EXPECT_EQ(png.at(0, 0), kWhite);
  EXPECT_EQ(png.at(799, 599), kWhite);
  // The bitmap holds the same picture.
  const Picture bmp = readBmp(dir.file("Q.BMP"));
  EXPECT_EQ(bmp.width, 800);
  EXPECT_EQ(bmp.height, 600);
  EXPECT_TRUE(bmp.rgb == png.rgb);
}

TEST(CliPicture, ViewSizeColourAndAxesOptions) {
  TempDir dir;
  const auto script = dir.write("quads.kx", sjisScript(kQuads));
  const RunResult r = runHeadless({"--log-off", "--view", "xy", "--size", "320x200", "--color", "--no-axes", "-o",
                                   dir.file("c.png"), script});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const Picture p = readPng(dir.file("c.png"));
  ASSERT_EQ(p.width, 320);
  ASSERT_EQ(p.height, 200);
  EXPECT_TRUE(near(p, 0.6, 0.2, {46, 46, 255}));  // colour mode: the colour is the ambient too
  EXPECT_TRUE(near(p, 0.1, 0, kWhite));            // no axes
  // The default view is "X-Y-Z": another picture than "X-Y".
  ASSERT_EQ(runHeadless({"--log-off", "--size", "320x200", "--color", "--no-axes", "-o", dir.file("i.png"), script}).exitCode, 0);
  const Picture iso = readPng(dir.file("i.png"));
  ASSERT_EQ(iso.width, 320);
  EXPECT_FALSE(iso.rgb == p.rgb);
  EXPECT_EQ(iso.at(0, 0), kWhite);
}

TEST(CliPicture, EmptyStoreAndUnwritableFileGiveStatusOne) {
  TempDir dir;
  const auto empty = dir.write("empty.kx", sjisScript({"CLEAR"}));
  RunResult r = runHeadless({"--log-off", "-o", dir.file("e.png"), empty});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "kubrix-run: cannot write " + dir.file("e.png") + ": 図形データがありません。\n");
  EXPECT_FALSE(fileExists(dir.file("e.png")));
  const auto script = dir.write("quads.kx", sjisScript(kQuads));
  dir.write("keep.png", "earlier");
  r = runHeadless({"--log-off", "-o", dir.file("no/such/dir/x.png"), "-o", dir.file("keep.png"), script});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "kubrix-run: cannot write " + dir.file("no/such/dir/x.png") + ": No such file or directory\n");
  EXPECT_EQ(readFile(dir.file("keep.png")).substr(1, 3), "PNG");  // the good output is still written
}

}  // namespace
}  // namespace kubrix::clitest
