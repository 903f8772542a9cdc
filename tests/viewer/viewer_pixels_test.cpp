// The viewer and the thumbnail renderer drawn by Mesa under Xvfb: colours at known pixels for
// known stores. The pictures are saved (KUBRIX_SCREENSHOT_DIR) for a look by eye.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "output/render/figure_renderer.h"
#include "output/viewer/gl_support.h"
#include "output/viewer/scr_screen.h"
#include "output/viewer/thumbnail_renderer.h"

namespace kubrix {
namespace {

QString screenshotDir() {
  const QString dir = qEnvironmentVariable("KUBRIX_SCREENSHOT_DIR", QDir::currentPath() + "/viewer_screenshots");
  QDir().mkpath(dir);
  return dir;
}

void keep(const QImage& image, const char* name) { image.save(screenshotDir() + "/" + name + ".png"); }

// The pixel of the captured picture where a point in view units (coordinates / view scale) lands,
// by the projection the viewer asks for: 40 degrees over the whole client area, whose upper
// kPanelHeight pixels the panel covers.
QPoint project(const TScrScreen& v, const QImage& img, float x, float y, float z) {
  const viewer::Mat4& m = v.viewState().modelView;
  const double ex = m.at(0, 0) * x + m.at(0, 1) * y + m.at(0, 2) * z + m.at(0, 3);
  const double ey = m.at(1, 0) * x + m.at(1, 1) * y + m.at(1, 2) * z + m.at(1, 3);
  const double ez = m.at(2, 0) * x + m.at(2, 1) * y + m.at(2, 2) * z + m.at(2, 3);
  const double w = img.width(), h = img.height() + TScrScreen::kPanelHeight;
  const double f = 1 / std::tan(20 * M_PI / 180);
  const double nx = f / (w / h) * ex / -ez, ny = f * ey / -ez;
  return QPoint(static_cast<int>(std::floor((nx + 1) / 2 * w)),
                static_cast<int>(std::floor((1 - ny) / 2 * h)) - TScrScreen::kPanelHeight);
}

::testing::AssertionResult near(const QImage& img, QPoint p, QColor want, int tolerance = 6) {
  if (!img.rect().contains(p)) return ::testing::AssertionFailure() << "pixel " << p.x() << "," << p.y() << " outside";
  const QColor got = img.pixelColor(p);
  if (std::abs(got.red() - want.red()) <= tolerance && std::abs(got.green() - want.green()) <= tolerance &&
      std::abs(got.blue() - want.blue()) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << p.x() << "," << p.y() << " is (" << got.red() << ", "
                                       << got.green() << ", " << got.blue() << "), want (" << want.red() << ", "
                                       << want.green() << ", " << want.blue() << ")";
}

const QColor kWhite(255, 255, 255);

// A shown viewer whose messages fail the test.
class ViewerPixels : public testing::Test {
 protected:
  void SetUp() override {
    viewer.ui().message = [](ViewerUi::Icon, const QString& text) { ADD_FAILURE() << text.toStdString(); };
  }
  void open(const FigureStore& store) {
    viewer.openAfterRun(store);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    ASSERT_TRUE(viewer.openGlReady());
  }
  QImage xyView(bool axes) {
    viewer.SpeedButton1->click();
    viewer.CheckBox1->setChecked(axes);
    return viewer.capturePicture();
  }
  TScrScreen viewer;
};

TEST_F(ViewerPixels, RedLineAlongX) {
  FigureStore fs;
  fs.appendLine({-10, 0, 0}, {10, 0, 0});
  open(fs);
  const QImage img = xyView(false);
  keep(img, "red_line_xy");
  ASSERT_EQ(img.size(), viewer.centralWidget()->size() - QSize(0, TScrScreen::kPanelHeight));
  // Lit line, normal towards the light: diffuse 0.7 red, ambient 0.09 green, specular 0.18.
  for (float x : {-0.8f, -0.3f, 0.3f, 0.8f}) EXPECT_TRUE(near(img, project(viewer, img, x, 0, 0), QColor(224, 69, 46))) << x;
  EXPECT_TRUE(near(img, project(viewer, img, 0.5f, 0.05f, 0), kWhite));
  EXPECT_TRUE(near(img, project(viewer, img, 0.5f, -0.05f, 0), kWhite));
  EXPECT_TRUE(near(img, project(viewer, img, 0, 0, 0), QColor(224, 69, 46)));
  viewer.SpeedButton4->click();
  viewer.CheckBox1->setChecked(true);
  keep(viewer.grab().toImage(), "viewer_window");
}

TEST_F(ViewerPixels, LitQuadFacesTheSideItsPointsTurnAround) {
  FigureStore fs;
  fs.colour = 3;
  fs.appendQuad({-10, -4, 0}, {-2, -4, 0}, {-2, 4, 0}, {-10, 4, 0});  // counter-clockwise: faces +Z
  fs.appendQuad({2, -4, 0}, {2, 4, 0}, {10, 4, 0}, {10, -4, 0});      // clockwise: faces away
  open(fs);
  const QImage img = xyView(false);
  keep(img, "lit_quads_xy");
  EXPECT_TRUE(near(img, project(viewer, img, -0.6f, 0, 0), QColor(46, 247, 46)));
  // Only the ambient light reaches the back of a face.
  EXPECT_TRUE(near(img, project(viewer, img, 0.6f, 0, 0), QColor(0, 23, 0)));
  EXPECT_TRUE(near(img, project(viewer, img, 0, 0, 0), kWhite));
}

TEST_F(ViewerPixels, ColourModeDrivesAmbientAndDiffuse) {
  FigureStore fs;
  fs.colour = 5;
  fs.appendQuad({-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0});
  open(fs);
  QImage img = xyView(false);
  keep(img, "blue_quad_colour_off");
  const QPoint centre = project(viewer, img, 0.2f, 0.2f, 0);
  EXPECT_TRUE(near(img, centre, QColor(46, 69, 224)));  // green ambient of the material
  viewer.CheckBox2->setChecked(true);
  img = viewer.capturePicture();
  keep(img, "blue_quad_colour_on");
  EXPECT_TRUE(near(img, centre, QColor(46, 46, 255)));  // the colour is the ambient too
}

TEST_F(ViewerPixels, ColourOutsideThePaletteIsGrey) {
  FigureStore fs;
  fs.appendQuad({-9, -3, 0}, {-3, -3, 0}, {-3, 3, 0}, {-9, 3, 0});
  fs.appendQuad({-3, -3, 0}, {3, -3, 0}, {3, 3, 0}, {-3, 3, 0});
  fs.appendQuad({3, -3, 0}, {9, -3, 0}, {9, 3, 0}, {3, 3, 0});
  fs.at(1).colour = 0;
  fs.at(2).colour = 8;  // the palette's own grey (128) is darker than 136
  fs.at(3).colour = 256;
  open(fs);
  viewer.SpeedButton1->click();
  viewer.CheckBox1->setChecked(false);
  viewer.CheckBox2->setChecked(true);
  QImage img = viewer.capturePicture();
  keep(img, "grey_quads_colour_on");
  EXPECT_TRUE(near(img, project(viewer, img, -0.66f, 0.1f, 0), QColor(182, 182, 182), 3));
  EXPECT_TRUE(near(img, project(viewer, img, 0, 0.1f, 0), QColor(174, 174, 174), 3));
  EXPECT_TRUE(near(img, project(viewer, img, 0.66f, 0.1f, 0), QColor(182, 182, 182), 3));
  viewer.CheckBox2->setChecked(false);
  img = viewer.capturePicture();
  keep(img, "grey_quads_colour_off");
  EXPECT_TRUE(near(img, project(viewer, img, -0.66f, 0.1f, 0), QColor(141, 164, 141), 3));
  EXPECT_TRUE(near(img, project(viewer, img, 0, 0.1f, 0), QColor(135, 158, 135), 3));
  EXPECT_TRUE(near(img, project(viewer, img, 0.66f, 0.1f, 0), QColor(141, 164, 141), 3));
}

TEST_F(ViewerPixels, IsometricPresetShowsZUpwards) {
  FigureStore fs;
  fs.colour = 5;
  fs.appendLine({0, 0, 0}, {0, 0, 10});
  open(fs);
  viewer.CheckBox1->setChecked(false);
  // Opened after a run: the X-Y-Z view, in which Z points up the screen.
  QImage img = viewer.capturePicture();
  keep(img, "z_line_xyz");
  const QPoint origin = project(viewer, img, 0, 0, 0), top = project(viewer, img, 0, 0, 0.5f);
  EXPECT_NEAR(top.x(), origin.x(), 1);
  EXPECT_LT(top.y(), origin.y() - 30);
  // Lines are lit as if they faced the light in every view: the same blue as in the X-Y view.
  EXPECT_TRUE(near(img, top, QColor(46, 69, 224), 8));
  // The X-Y view looks down the line: above the origin everything is white.
  img = xyView(false);
  keep(img, "z_line_xy");
  for (int dy = 5; dy <= 60; dy += 5) EXPECT_TRUE(near(img, project(viewer, img, 0, 0, 0) - QPoint(0, dy), kWhite)) << dy;
}

// Lines and points are lit as if they faced the light, whatever the view and whatever face came
// before them in the store: one colour in every preset view.
TEST_F(ViewerPixels, LineColoursDoNotDependOnTheView) {
  FigureStore fs;
  fs.appendQuad({8, 8, 0}, {8, 9, 0}, {9, 9, 0}, {9, 8, 0});  // faces -Z, drawn before the lines
  fs.colour = 1;
  fs.appendLine({-10, 0, 0}, {10, 0, 0});
  fs.colour = 3;
  fs.appendLine({0, -10, 0}, {0, 10, 0});
  fs.colour = 5;
  fs.appendLine({0, 0, -10}, {0, 0, 10});
  fs.appendPoint({0, 0, 5});
  open(fs);
  viewer.CheckBox1->setChecked(false);
  const QColor red(224, 69, 46), green(46, 247, 46), blue(46, 69, 224);
  const struct {
    QToolButton* button;
    const char* name;
    bool x, y, z;  // which lines the view shows along their length
  } views[] = {{viewer.SpeedButton1, "xy", true, true, false},
               {viewer.SpeedButton2, "xz", true, false, true},
               {viewer.SpeedButton3, "yz", false, true, true},
               {viewer.SpeedButton4, "xyz", true, true, true}};
  for (const auto& v : views) {
    v.button->click();
    const QImage img = viewer.capturePicture();
    keep(img, (std::string("line_colours_") + v.name).c_str());
    for (float t : {-0.7f, 0.4f}) {
      SCOPED_TRACE(std::string(v.name) + " at " + std::to_string(t));
      if (v.x) {
        EXPECT_TRUE(near(img, project(viewer, img, t, 0, 0), red));
      }
      if (v.y) {
        EXPECT_TRUE(near(img, project(viewer, img, 0, t, 0), green));
      }
      if (v.z) {
        EXPECT_TRUE(near(img, project(viewer, img, 0, 0, t), blue));
      }
    }
  }
  // The axes too: red X and blue Z in the X-Z view as in the X-Y view.
  FigureStore far;
  far.appendPoint({10, 10, 10});
  open(far);
  viewer.SpeedButton2->click();
  viewer.CheckBox1->setChecked(true);
  const QImage img = viewer.capturePicture();
  keep(img, "axes_xz");
  EXPECT_TRUE(near(img, project(viewer, img, 0.8f, 0, 0), QColor(186, 31, 8)));
  EXPECT_TRUE(near(img, project(viewer, img, 0, 0, 0.8f), QColor(8, 31, 186)));
}

TEST_F(ViewerPixels, AxesWithTheirLetters) {
  FigureStore fs;
  fs.appendPoint({10, 10, 10});
  open(fs);
  QImage img = xyView(true);
  keep(img, "axes_xy");
  const QColor red(186, 31, 8), green(8, 209, 8);
  EXPECT_TRUE(near(img, project(viewer, img, 0.8f, 0, 0), red));
  EXPECT_TRUE(near(img, project(viewer, img, -0.8f, 0, 0), red));
  EXPECT_TRUE(near(img, project(viewer, img, 0, 0.8f, 0), green));
  EXPECT_TRUE(near(img, project(viewer, img, 1.5f, -0.2f, 0), red));   // the crossing of "X"
  EXPECT_TRUE(near(img, project(viewer, img, -0.2f, 1.5f, 0), green));  // the fork of "Y"
  EXPECT_TRUE(near(img, project(viewer, img, 1.5f, -0.4f, 0), kWhite));
  keep(viewer.capturePicture(), "axes_xy_again");
  EXPECT_EQ(viewer.capturePicture(), img);  // frames do not drift
  img = xyView(false);
  EXPECT_TRUE(near(img, project(viewer, img, 0.8f, 0, 0), kWhite));
  viewer.SpeedButton4->click();
  viewer.CheckBox1->setChecked(true);
  keep(viewer.capturePicture(), "axes_xyz");
}

TEST_F(ViewerPixels, WheelDragAndResize) {
  FigureStore fs;
  fs.colour = 3;
  fs.appendQuad({-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0});
  open(fs);
  auto* screen = viewer.findChild<QOpenGLWidget*>();
  ASSERT_TRUE(screen);
  viewer.SpeedButton1->click();
  const QImage before = viewer.capturePicture();
  const QPointF c(screen->width() / 2.0, screen->height() / 2.0);
  QWheelEvent down(c, screen->mapToGlobal(c), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                   false);
  QApplication::sendEvent(screen, &down);
  EXPECT_FLOAT_EQ(viewer.viewState().zoomX, 1.1f);
  QWheelEvent up(c, screen->mapToGlobal(c), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(screen, &up);
  QApplication::sendEvent(screen, &up);
  EXPECT_NEAR(viewer.viewState().zoomX, 1.1 * 0.9 * 0.9, 1e-6);
  keep(viewer.capturePicture(), "quad_zoomed_out");

  // A drag about X by 30 pixels tilts the quad.
  viewer.SpeedButton1->click();
  viewer.setTurnAxis(viewer::TurnAxis::X);
  QTest::mousePress(screen, Qt::LeftButton, Qt::NoModifier, c.toPoint());
  QMouseEvent move(QEvent::MouseMove, c + QPointF(-30, 0), screen->mapToGlobal(c + QPointF(-30, 0)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(screen, &move);
  QTest::mouseRelease(screen, Qt::LeftButton, Qt::NoModifier, (c + QPointF(-30, 0)).toPoint());
  EXPECT_EQ(viewer.viewState().angleX, 30);
  EXPECT_EQ(viewer.LabelX->text(), "X:30°0 ×1");
  const QImage tilted = viewer.capturePicture();
  keep(tilted, "quad_tilted");
  EXPECT_NE(tilted, before);

  // A resize returns to the "X-Y" view with zoom 1.
  const int wider = before.width() + 40;
  viewer.resize(viewer.width() + 40, viewer.height() + 30);
  for (int i = 0; i < 100 && screen->width() != wider; ++i) QTest::qWait(20);
  ASSERT_EQ(screen->width(), wider);
  EXPECT_EQ(viewer.viewState().angleX, 0);
  EXPECT_EQ(viewer.viewState().zoomX, 1);
  EXPECT_EQ(viewer.LabelX->text(), "X:0°0 ×1");
  const QImage resized = viewer.capturePicture();
  EXPECT_EQ(resized.width(), before.width() + 40);
  EXPECT_TRUE(near(resized, project(viewer, resized, 0.2f, 0.2f, 0), QColor(46, 247, 46)));
}

// A drag of 200 pixels in each "回転" mode: the longer status texts must not widen the window (a
// resize would throw the turned view away), and the view ends where the drag arithmetic says.
TEST_F(ViewerPixels, DragInEveryAxisModeKeepsTheWindowAndTheTurn) {
  FigureStore fs;
  fs.colour = 3;
  fs.appendQuad({-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0});
  fs.appendLine({-3, 0, 0}, {3, 0, 0});
  const struct {
    viewer::TurnAxis axis;
    const char* name;
  } modes[] = {{viewer::TurnAxis::X, "x"}, {viewer::TurnAxis::Y, "y"}, {viewer::TurnAxis::Z, "z"}, {viewer::TurnAxis::R, "r"}};
  for (const auto& mode : modes) {
    open(fs);
    auto* screen = viewer.findChild<QOpenGLWidget*>();
    ASSERT_TRUE(screen);
    QTest::qWait(50);
    const QSize windowSize = viewer.size(), frameSize = viewer.frameGeometry().size();
    viewer.setTurnAxis(mode.axis);
    viewer::ViewState expected = viewer.viewState();
    const QPoint start(screen->width() / 2 + 100, screen->height() / 2 + 50);
    expected.press(true, start.x(), start.y());
    QTest::mousePress(screen, Qt::LeftButton, Qt::NoModifier, start);
    QPoint at = start;
    for (int step = 0; step < 10; ++step) {  // 200 pixels to the left and 100 up, in steps
      at -= QPoint(20, 10);
      expected.dragTo(at.x(), at.y(), mode.axis);
      QMouseEvent move(QEvent::MouseMove, at, screen->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(screen, &move);
      QTest::qWait(5);
    }
    QTest::mouseRelease(screen, Qt::LeftButton, Qt::NoModifier, at);
    QTest::qWait(200);  // a window that grew would have been resized by now
    EXPECT_EQ(viewer.size(), windowSize) << mode.name;
    EXPECT_EQ(viewer.frameGeometry().size(), frameSize) << mode.name;
    const viewer::ViewState& got = viewer.viewState();
    EXPECT_FLOAT_EQ(got.angleX, expected.angleX) << mode.name;
    EXPECT_FLOAT_EQ(got.angleY, expected.angleY) << mode.name;
    EXPECT_FLOAT_EQ(got.angleZ, expected.angleZ) << mode.name;
    EXPECT_FLOAT_EQ(got.shiftX, expected.shiftX) << mode.name;
    EXPECT_FLOAT_EQ(got.shiftY, expected.shiftY) << mode.name;
    EXPECT_FLOAT_EQ(got.shiftZ, expected.shiftZ) << mode.name;
    EXPECT_EQ(got.modelView.m, expected.modelView.m) << mode.name;
    // The texts stay whole even where the room shows only their start.
    EXPECT_EQ(viewer.LabelX->text().toStdString(), expected.label(0)) << mode.name;
    EXPECT_EQ(viewer.LabelZ->text().toStdString(), expected.label(2)) << mode.name;
    keep(viewer.grab().toImage(), (std::string("viewer_after_drag_") + mode.name).c_str());
  }
}

// Many lines: a fan about the origin, so that every part of the store shows.
FigureStore manyLines(int count) {
  FigureStore fs;
  for (int i = 0; i < count; ++i) {
    const double a = i * 2 * M_PI / count;
    fs.appendLine({0, 0, 0}, {10 * std::cos(a), 10 * std::sin(a), 0});
  }
  return fs;
}

// A large store is compiled in parts between events, with its progress; the figures appear whole
// once the last part is done, and closing the window deletes the lists.
TEST_F(ViewerPixels, LargeStoreIsCompiledInPartsWithProgress) {
  const FigureStore fs = manyLines(40000);
  viewer.setListPart(3000);
  std::vector<qint64> progress;
  std::vector<bool> ended;
  QObject::connect(&viewer, &TScrScreen::listsProgress, [&](qint64 done, qint64 total) {
    EXPECT_EQ(total, 40000);
    progress.push_back(done);
  });
  QObject::connect(&viewer, &TScrScreen::listsEnded, [&](bool shown) { ended.push_back(shown); });
  open(fs);
  EXPECT_FALSE(viewer.listsBuilt());  // the window is up before the lists are done
  for (int i = 0; i < 500 && ended.empty(); ++i) QTest::qWait(10);
  ASSERT_EQ(ended, std::vector<bool>{true});
  ASSERT_GE(progress.size(), 12u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_LT(progress.back(), 40000);
  EXPECT_TRUE(viewer.listsBuilt());
  viewer.SpeedButton1->click();
  viewer.CheckBox1->setChecked(false);
  const QImage img = viewer.capturePicture();
  keep(img, "many_lines_xy");
  const QColor red(224, 69, 46);
  for (float a : {0.3f, 2.0f, 4.0f, 5.5f})  // lines from the first, middle and last parts
    EXPECT_TRUE(near(img, project(viewer, img, 0.6f * std::cos(a), 0.6f * std::sin(a), 0), red, 40)) << a;
  viewer.close();
  EXPECT_FALSE(viewer.listsBuilt());
}

// Escape during the build closes the viewer for this run; an Escape that only repeats (the key that
// ended the run, still held) does not. A picture asked for during the build finishes it first.
TEST_F(ViewerPixels, EscapeDuringTheBuildSkipsTheViewer) {
  const FigureStore fs = manyLines(40000);
  viewer.setListPart(40);  // a thousand parts: still building when the keys come
  std::vector<bool> ended;
  QObject::connect(&viewer, &TScrScreen::listsEnded, [&](bool shown) { ended.push_back(shown); });
  QWidget elsewhere;  // the key may be pressed in any window of the program
  elsewhere.show();
  open(fs);
  ASSERT_TRUE(ended.empty());
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(&elsewhere, &repeat);
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_TRUE(ended.empty());
  QTest::keyClick(&elsewhere, Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible());
  EXPECT_EQ(ended, std::vector<bool>{false});
  EXPECT_FALSE(viewer.listsBuilt());
  // Escape after the build is nobody's business here.
  QTest::keyClick(&elsewhere, Qt::Key_Escape);
  EXPECT_EQ(ended.size(), 1u);

  open(fs);
  const QImage img = viewer.capturePicture();
  EXPECT_TRUE(viewer.listsBuilt());
  EXPECT_EQ(ended, (std::vector<bool>{false, true}));
  EXPECT_FALSE(near(img, project(viewer, img, 0.5f, 0.01f, 0), kWhite));
}

TEST_F(ViewerPixels, CopyAndSaveTheCapturedPicture) {
  FigureStore fs;
  fs.appendLine({-10, 0, 0}, {10, 0, 0});
  open(fs);
  viewer.copyPicture();
  const QImage captured = viewer.capturedPicture();
  ASSERT_FALSE(captured.isNull());
  EXPECT_EQ(captured.format(), QImage::Format_RGB888);
  const QImage onClipboard = QGuiApplication::clipboard()->image();
  EXPECT_EQ(onClipboard.size(), captured.size());

  QTemporaryDir dir;
  viewer.ui().chooseSaveFile = [&](const QString&, QString& path, int& filter) {
    path = dir.filePath("picture");
    filter = 6;
    return true;
  };
  viewer.saveAs();
  QFile file(dir.filePath("picture.bmp"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_GT(bytes.size(), 54);
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  const QImage back(dir.filePath("picture.bmp"));
  const QImage saved = viewer.capturedPicture();  // the save captured a new frame
  ASSERT_EQ(back.size(), saved.size());
  EXPECT_EQ(back.convertToFormat(QImage::Format_RGB888), saved);
}

TEST_F(ViewerPixels, DegenerateFacesAreLeftOutOfTheList) {
  QOpenGLContext context;
  context.setFormat(viewer::viewerSurfaceFormat());
  ASSERT_TRUE(context.create());
  QOffscreenSurface surface;
  surface.setFormat(context.format());
  surface.create();
  ASSERT_TRUE(context.makeCurrent(&surface));
  FigureStore fs;
  fs.appendLine({0, 0, 0}, {10, 0, 0});                            // view scale 10
  fs.appendTriangle({0, 0, 0}, {0.004, 0, 0}, {0.004, 0.001, 0});  // measure 0.0005: left out
  fs.appendTriangle({0, 0, 0}, {0.006, 0, 0}, {0.006, 0.005, 0});  // measure 0.0011: drawn
  fs.appendQuad({0, 0, 0}, {0.005, 0, 0}, {0.005, 0.005, 0}, {0, 0.005, 0});  // 0.0015: left out
  fs.appendQuad({0, 0, 0}, {0.01, 0, 0}, {0.01, 0.005, 0}, {0, 0.005, 0});    // 0.0025: drawn
  // Three coincident points and a distinct fourth (as SETFIGD can write): measure 0.003, drawn.
  fs.appendPoint({0, 0, 0});
  fs.at(6) = FigureElement{true, kKindQuad, 0, 1, {Point3{1, 1, 0}, Point3{1, 1, 0}, Point3{1, 1, 0}, Point3{1, 1.03, 0}}};
  fs.appendPoint({1, 1, 1});
  fs.appendPoint({2, 2, 2});
  fs.at(8).live = false;
  fs.appendPoint({3, 3, 3});
  fs.at(9).kind = 5;  // no kind: nothing
  viewer::FigureRenderer renderer;
  ASSERT_TRUE(renderer.buildLists(fs, 10));
  EXPECT_EQ(renderer.drawnElements(), 5u);  // elements 1, 3, 5, 6 and 7
  renderer.deleteLists();
  context.doneCurrent();
}

TEST(Thumbnails, NineTurnsOfTheCentre) {
  FigureStore fs;
  fs.colour = 3;
  fs.appendQuad({0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {0, 4, 0});
  fs.colour = 1;
  fs.appendLine({0, 0, 0}, {0, 0, 6});
  fs.colour = 5;
  fs.appendTriangle({0, 0, 0}, {0, -6, 0}, {0, -6, 3});
  QTemporaryDir dir;
  const std::string prefix = dir.filePath("BmpTemp").toStdString();
  ASSERT_EQ(writeThumbnailFiles(fs, prefix, [](const QString& m) { ADD_FAILURE() << m.toStdString(); }), 9);
  std::vector<QImage> pictures;
  for (int n = 0; n < 9; ++n) {
    const QString path = QString::fromStdString(prefix + std::to_string(n) + ".bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n;
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 14 + 40 + 1024 + 64 * 64) << n;
    EXPECT_EQ(bytes[28], 8);
    const QImage img(path);
    ASSERT_EQ(img.size(), QSize(64, 64));
    pictures.push_back(img.convertToFormat(QImage::Format_RGB888));
    keep(img.scaled(256, 256), ("thumbnail_" + std::to_string(n)).c_str());
  }
  // A full turn: the last picture is the first; the others differ.
  int same = 0, coloured = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      if (pictures[0].pixel(x, y) == pictures[8].pixel(x, y)) ++same;
      if (pictures[0].pixelColor(x, y) != kWhite) ++coloured;
    }
  EXPECT_GE(same, 64 * 64 - 8);
  EXPECT_GT(coloured, 150);
  EXPECT_NE(pictures[0], pictures[2]);
  EXPECT_NE(pictures[0], pictures[4]);
}

}  // namespace
}  // namespace kubrix
