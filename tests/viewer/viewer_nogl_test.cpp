// The viewer on a platform without OpenGL (offscreen): the message, the controls and the whole
// save-as command with a fake writer and fake dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "output/viewer/scr_screen.h"
#include "output/viewer/thumbnail_renderer.h"

namespace kubrix {
namespace {

struct WriterCall {
  ExportFormat format;
  std::string path;
  ExportContext context;
};

// A viewer whose dialogs and writer record what they were asked.
struct FakeViewer {
  TScrScreen viewer;
  std::vector<std::pair<ViewerUi::Icon, QString>> messages;
  std::vector<QString> questions;
  bool answer = true;
  QString chosenPath;
  int chosenFilter = 0;
  bool cancel = false;
  QString dialogFolder;
  int beeps = 0;
  std::vector<WriterCall> writes;
  bool writerFails = false;

  FakeViewer() {
    ViewerUi& ui = viewer.ui();
    ui.message = [this](ViewerUi::Icon icon, const QString& text) { messages.emplace_back(icon, text); };
    ui.askYesNo = [this](const QString& text) {
      questions.push_back(text);
      return answer;
    };
    ui.chooseSaveFile = [this](const QString& folder, QString& path, int& filter) {
      dialogFolder = folder;
      if (cancel) return false;
      path = chosenPath;
      filter = chosenFilter;
      return true;
    };
    ui.beep = [this] { ++beeps; };
    viewer.setExportWriter([this](const FigureStore&, ExportFormat f, const std::string& path, const ExportContext& c,
                                  std::string& error) {
      writes.push_back({f, path, c});
      if (writerFails) error = "disk full";
      return !writerFails;
    });
  }
};

void holdMove(QWidget* w) {
  QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w, &move);
}

TEST(ViewerWithoutOpenGl, SaysSoAndStillWorksItsControls) {
  FakeViewer f;
  FigureStore fs;
  fs.appendLine({0, 0, 0}, {4, 0, 0});
  f.viewer.openAfterRun(fs);
  EXPECT_TRUE(f.viewer.isVisible());
  EXPECT_EQ(f.viewer.windowTitle(), "Kubrix");
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0].first, ViewerUi::Icon::None);
  EXPECT_EQ(f.messages[0].second, "OPENGLが利用出来ません");
  EXPECT_FALSE(f.viewer.openGlReady());
  EXPECT_TRUE(f.viewer.capturePicture().isNull());

  // Open after a run: X-Y-Z view, "回転" on Z, axes on, colour off.
  EXPECT_EQ(f.viewer.viewScale(), 4);
  EXPECT_EQ(f.viewer.turnAxis(), viewer::TurnAxis::Z);
  EXPECT_TRUE(f.viewer.CheckBox1->isChecked());
  EXPECT_FALSE(f.viewer.CheckBox2->isChecked());
  EXPECT_EQ(f.viewer.LabelX->text(), "X:-120°0 ×1");
  EXPECT_EQ(f.viewer.LabelY->text(), "Y:30°0 ×1");
  EXPECT_EQ(f.viewer.LabelZ->text(), "Z:-135°-7 ×1");
  EXPECT_EQ(f.viewer.SpeedButton4->text(), "X-Y-Z");
  EXPECT_EQ(f.viewer.Label1->toolTip(), "拡大");

  // The held labels zoom on a press and on every move while the left button is held.
  QTest::mousePress(f.viewer.Label1, Qt::LeftButton);
  EXPECT_EQ(f.viewer.LabelX->text(), "X:-120°0 ×1.10000002384186");
  holdMove(f.viewer.Label1);
  EXPECT_FLOAT_EQ(f.viewer.viewState().zoomX, 1.1f * 1.1f);
  QTest::mousePress(f.viewer.Label2, Qt::LeftButton);
  holdMove(f.viewer.Label2);
  EXPECT_NEAR(f.viewer.viewState().zoomX, 1.21 * 0.81, 1e-6);
  QTest::mousePress(f.viewer.Label1, Qt::RightButton);
  EXPECT_NEAR(f.viewer.viewState().zoomX, 1.21 * 0.81, 1e-6);

  f.viewer.SpeedButton2->click();
  EXPECT_EQ(f.viewer.LabelX->text(), "X:-90°0 ×1");
  f.viewer.SpeedButton1->click();
  EXPECT_EQ(f.viewer.LabelX->text(), "X:0°0 ×1");

  // Each new show says it again; an open after a run while shown does not.
  f.viewer.openAfterRun(fs);
  EXPECT_EQ(f.messages.size(), 1u);
  f.viewer.close();
  f.viewer.openAfterRun(fs);
  EXPECT_EQ(f.messages.size(), 2u);
}

class SaveAs : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    fs.appendLine({0, 0, 0}, {0, -2.5, 1});
    f.viewer.ui().message = [this](ViewerUi::Icon icon, const QString& text) {
      if (text != "OPENGLが利用出来ません") f.messages.emplace_back(icon, text);
    };
    f.viewer.openAfterRun(fs);
  }
  QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  QTemporaryDir dir;
  FigureStore fs;
  FakeViewer f;
};

TEST_F(SaveAs, EmptyStoreIsRefusedBeforeTheDialog) {
  FigureStore empty;
  f.viewer.openAfterRun(empty);
  f.viewer.saveAs();
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0].first, ViewerUi::Icon::Question);
  EXPECT_EQ(f.messages[0].second, "図形データがありません。");
  EXPECT_TRUE(f.dialogFolder.isNull());
}

TEST_F(SaveAs, FilterAddsTheMissingExtensionAndTheWriterGetsScaleOne) {
  f.viewer.setSaveFolder("/start");
  f.chosenPath = file("model");
  f.chosenFilter = 2;  // OBJ
  f.viewer.saveAs();
  EXPECT_EQ(f.dialogFolder, "/start");
  ASSERT_EQ(f.writes.size(), 1u);
  EXPECT_EQ(f.writes[0].format, ExportFormat::Obj);
  EXPECT_EQ(f.writes[0].path, file("model").toStdString() + ".obj");
  EXPECT_EQ(f.writes[0].context.exportScale, 1.0);
  EXPECT_EQ(f.writes[0].context.viewScale, 2.5);
  EXPECT_TRUE(f.messages.empty());
  EXPECT_EQ(f.viewer.saveFolder(), dir.path());  // the next dialog starts here

  // An upper-case extension is taken as it is written; the filter does not matter then.
  f.chosenPath = file("Part.DAE");
  f.viewer.saveAs();
  ASSERT_EQ(f.writes.size(), 2u);
  EXPECT_EQ(f.writes[1].format, ExportFormat::Collada);
  EXPECT_EQ(f.writes[1].path, file("Part.DAE").toStdString());

  for (int filter = 0; filter < 6; ++filter) {
    f.chosenPath = file("x");
    f.chosenFilter = filter;
    f.viewer.saveAs();
  }
  ASSERT_EQ(f.writes.size(), 8u);
  EXPECT_EQ(f.writes[2].format, ExportFormat::Dxf);
  EXPECT_EQ(f.writes[5].format, ExportFormat::Vrml);
  EXPECT_EQ(f.writes[6].path, file("x").toStdString() + ".x3d");

  // The model formats after the bitmap: filters 8 and 9 add ".glb" and ".3mf"; a Japanese name is
  // fine for them.
  for (int filter : {7, 8}) {
    f.chosenPath = file("模型");
    f.chosenFilter = filter;
    f.viewer.saveAs();
  }
  ASSERT_EQ(f.writes.size(), 10u);
  EXPECT_EQ(f.writes[8].format, ExportFormat::Glb);
  EXPECT_EQ(f.writes[8].path, file("模型").toStdString() + ".glb");
  EXPECT_EQ(f.writes[9].format, ExportFormat::ThreeMf);
  EXPECT_EQ(f.writes[9].path, file("模型").toStdString() + ".3mf");
  EXPECT_TRUE(f.messages.empty());

  // Any other extension writes nothing and says nothing; a cancelled dialog likewise.
  f.chosenPath = file("notes.txt");
  f.viewer.saveAs();
  f.cancel = true;
  f.viewer.saveAs();
  EXPECT_EQ(f.writes.size(), 10u);
  EXPECT_TRUE(f.messages.empty());
}

TEST_F(SaveAs, ExistingFileAsksBeforeOverwriting) {
  QFile existing(file("old.stl"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  f.chosenPath = file("old.stl");
  f.answer = false;
  f.viewer.saveAs();
  ASSERT_EQ(f.questions.size(), 1u);
  EXPECT_EQ(f.questions[0], "同じファイル名が既に存在します。上書きしてもよろしいですか？");
  EXPECT_TRUE(f.writes.empty());
  f.answer = true;
  f.viewer.saveAs();
  ASSERT_EQ(f.writes.size(), 1u);
  EXPECT_EQ(f.writes[0].format, ExportFormat::Stl);
  // The question is asked of the name with the extension the filter added.
  f.chosenPath = file("old");
  f.chosenFilter = 1;
  f.viewer.saveAs();
  EXPECT_EQ(f.questions.size(), 3u);
}

TEST_F(SaveAs, DoubleByteNamesAreRefusedForVrmlX3dAndCollada) {
  for (const char* name : {"模型.wrl", "模型.x3d", "模型.dae"}) {
    f.chosenPath = file(name);
    f.viewer.saveAs();
  }
  EXPECT_TRUE(f.writes.empty());
  EXPECT_EQ(f.beeps, 3);
  ASSERT_EQ(f.messages.size(), 3u);
  EXPECT_EQ(f.messages[0].first, ViewerUi::Icon::Error);
  EXPECT_EQ(f.messages[0].second, "ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。");
  // The other formats take such names, and a double-byte folder is no obstacle.
  f.chosenPath = file("模型.dxf");
  f.viewer.saveAs();
  QDir(dir.path()).mkdir("フォルダ");
  f.chosenPath = file("フォルダ/model.wrl");
  f.viewer.saveAs();
  EXPECT_EQ(f.writes.size(), 2u);
}

TEST_F(SaveAs, FailuresAreReported) {
  f.writerFails = true;
  f.chosenPath = file("a.dxf");
  f.viewer.saveAs();
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0].first, ViewerUi::Icon::Warning);
  EXPECT_TRUE(f.messages[0].second.startsWith("ファイルを保存出来ませんでした。"));
  EXPECT_TRUE(f.messages[0].second.endsWith("disk full"));

  // Without OpenGL there is no picture: the bitmap cannot be written and no file is left.
  f.chosenPath = file("a.bmp");
  f.viewer.saveAs();
  EXPECT_EQ(f.messages.size(), 2u);
  EXPECT_FALSE(QFile::exists(file("a.bmp")));

  // A viewer without a writer says so instead of pretending.
  f.viewer.setExportWriter(nullptr);
  f.chosenPath = file("b.stl");
  f.viewer.saveAs();
  EXPECT_EQ(f.messages.size(), 3u);
}

}  // namespace
}  // namespace kubrix

namespace kubrix {
namespace {

TEST(NoOpenGlThumbnails, SayItOnceAndLeaveNoFiles) {
  FigureStore fs;
  fs.appendLine({0, 0, 0}, {1, 1, 1});
  QTemporaryDir dir;
  const std::string prefix = dir.filePath("BmpTemp").toStdString();
  std::vector<QString> messages;
  const int written = writeThumbnailFiles(fs, prefix, [&](const QString& m) { messages.push_back(m); });
  if (written == 0) {
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "OPENGLが利用出来ません");
    for (int n = 0; n < 9; ++n) EXPECT_FALSE(QFile::exists(QString::fromStdString(prefix + std::to_string(n) + ".bmp")));
  } else {
    EXPECT_EQ(written, 9);  // this platform offers an off-screen context after all
    EXPECT_TRUE(messages.empty());
  }
}

}  // namespace
}  // namespace kubrix
