// The picture kubrix-run draws without a display equals the viewer's own picture of the same store
// (same size, view, axes and colour mode), pixel for pixel within a small tolerance.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdlib>

#include "output/viewer/scr_screen.h"
#include "tests/script_store.h"

namespace kubrix {
namespace {

// Faces in three colours, a line and a point across all three axes (UTF-8 script, ASCII only).
const char* kScript =
    "#VAR\na\n#DRAW\n"
    "PEN 3\n4SOLID a,-10,-4,0,-2,-4,0,-2,4,0,-10,4,0\n"
    "PEN 5\n3SOLID a,2,-4,0,10,-4,3,2,4,6\n"
    "PEN 2\n4SOLID a,0,0,0,0,6,0,0,6,6,0,0,6\n"
    "PEN 1\nLINE a,-8,-8,-8,8,8,8\nTEN a,5,-5,5\n";

QImage runnerPicture(const QString& script, const QSize& size, QStringList options, const QString& out) {
  options << "--log-off" << "--size" << QString("%1x%2").arg(size.width()).arg(size.height()) << "-o" << out << script;
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");  // the runner draws without one
  p.setProcessEnvironment(env);
  p.start(KUBRIX_RUN_PATH, options);
  EXPECT_TRUE(p.waitForFinished(60000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  return QImage(out).convertToFormat(QImage::Format_RGB888);
}

// The share of pixels whose colour differs by more than 8 in any channel.
double differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 1;
  long long n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      if (std::abs(p.red() - q.red()) > 8 || std::abs(p.green() - q.green()) > 8 || std::abs(p.blue() - q.blue()) > 8) ++n;
    }
  return static_cast<double>(n) / (static_cast<double>(a.width()) * a.height());
}

TEST(ViewerPixelsMatchRunner, RunnerPictureEqualsTheViewersPicture) {
  QTemporaryDir dir;
  const QString script = dir.filePath("match.kx");
  {
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kScript);
  }
  const FigureStore store = test::storeOfScriptFile(script.toStdString());
  TScrScreen viewer;
  viewer.ui().message = [](ViewerUi::Icon, const QString& text) { ADD_FAILURE() << text.toStdString(); };
  viewer.openAfterRun(store);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  ASSERT_TRUE(viewer.openGlReady());

  // As opened after a run: "X-Y-Z", axes on, colour mode off.
  const QImage shown = viewer.capturePicture();
  ASSERT_FALSE(shown.isNull());
  const QImage drawn = runnerPicture(script, shown.size(), {}, dir.filePath("xyz.png"));
  shown.save(dir.filePath("viewer_xyz.png"));
  EXPECT_EQ(drawn.size(), shown.size());
  EXPECT_LT(differing(shown, drawn), 0.002);

  viewer.SpeedButton2->click();  // "X-Z", colour mode on, no axes
  viewer.CheckBox1->setChecked(false);
  viewer.CheckBox2->setChecked(true);
  const QImage shownXz = viewer.capturePicture();
  const QImage drawnXz =
      runnerPicture(script, shownXz.size(), {"--view", "xz", "--color", "--no-axes"}, dir.filePath("xz.png"));
  EXPECT_LT(differing(shownXz, drawnXz), 0.002);
  EXPECT_GT(differing(shown, shownXz), 0.01);  // a different picture indeed
}

}  // namespace
}  // namespace kubrix
