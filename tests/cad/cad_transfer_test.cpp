// The CAD hand-over end to end on an X display (run under Xvfb): test windows that record the key
// events they receive stand in for the CAD applications. The transfer finds them by title, gives
// them the focus and types the command keys; the temporary file holds the scaled drawing and the
// clipboard its path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "output/cad/cad_transfer.h"
#include "output/cad/key_string.h"
#include "output/cad/x11_session.h"

namespace kubrix::cad {
namespace {

// Lets the event loop run (the transfer's clipboard is served from it) until done() or timeout.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class Recorder {
 public:
  explicit Recorder(const QString& title) {
    process_.start(KUBRIX_KEY_RECORDER, {title});
    EXPECT_TRUE(pumpUntil([this] { return has("ready"); })) << "the test window did not appear";
  }
  ~Recorder() {
    process_.kill();
    process_.waitForFinished(2000);
  }
  QStringList lines() {
    const QStringList fresh = QString::fromUtf8(process_.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    lines_ << fresh;
    return lines_;
  }
  bool has(const QString& prefix) {
    for (const QString& l : lines())
      if (l.startsWith(prefix)) return true;
    return false;
  }
  // The recorded keys in the form of describeSteps: "+Alt_L, +i, -i, ...".
  std::string keys() {
    QStringList k;
    for (const QString& l : lines())
      if (l.startsWith("key ")) k << l.section(' ', 1, 1);
    return k.join(", ").toStdString();
  }
  // Every key event happened with the pointer at this place.
  bool pointerAlwaysAt(const QString& place) {
    for (const QString& l : lines())
      if (l.startsWith("key ") && l.section(' ', 2, 2) != place) return false;
    return true;
  }
  QString clipboard() {
    for (const QString& l : lines())
      if (l.startsWith("clipboard ")) return l.mid(10);
    return "<not asked>";
  }

 private:
  QProcess process_;
  QStringList lines_;
};

std::string expectedKeys(const char* keyString) { return describeSteps(parseKeyString(keyString, 0).steps); }

FigureStore oneLine() {
  FigureStore store;
  store.appendLine({1, 2, 3}, {4, 5, 6});
  return store;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Fixture : ::testing::Test {
  QTemporaryDir dir;
  QString folder = dir.path() + "/";
  Settings settings;
  QStringList messages;
  int beeps = 0;
  CadTransfer transfer{[this] { ++beeps; }, [this](const QString& m) { messages << m; }};
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under Xvfb with QT_QPA_PLATFORM=xcb";
    for (CadSettings* c : {&settings.acad, &settings.gsu6, &settings.gsu7}) c->waitSeconds = 0.02;
  }
};

TEST_F(Fixture, DefaultAutoCadKeysReachTheWindowWithThePathOnTheClipboard) {
  settings.acad.title = "AutoCAD test";
  settings.acad.numbered = true;
  settings.acad.scaleIndex = 1;  // x10
  settings.gsu7.numbered = true;
  Recorder cad("AutoCAD test");
  auto session = X11Session::open();
  ASSERT_TRUE(session);
  session->movePointer(300, 200);
  const FigureStore store = oneLine();
  ASSERT_EQ(transfer.transfer(Target::Acad, store, settings, folder), CadTransfer::Result::Sent);
  EXPECT_TRUE(pumpUntil([&] { return cad.has("clipboard") && cad.keys().ends_with("-Return"); }));
  EXPECT_EQ(cad.keys(), expectedKeys("@IB{TAB}{ENTER}^V{ENTER}"));
  EXPECT_EQ(cad.keys(), "+Alt_L, +i, -i, -Alt_L, +b, -b, +Tab, -Tab, +Return, -Return, +Control_L, +v, -v, -Control_L, "
                        "+Return, -Return");
  EXPECT_TRUE(cad.has("focus"));
  EXPECT_EQ(cad.clipboard(), folder + "temp0.dxf");
  // The pointer was out of the way while the keys went, and is back afterwards.
  EXPECT_TRUE(cad.pointerAlwaysAt("0,0")) << cad.lines().join("\n").toStdString();
  int x = 0, y = 0;
  ASSERT_TRUE(session->pointer(x, y));
  EXPECT_EQ(QPoint(x, y), QPoint(300, 200));
  // The temporary file holds the drawing at the output scale.
  const QByteArray dxf = readAll(folder + "temp0.dxf");
  EXPECT_TRUE(dxf.contains("LINE\r\n  8\r\n0\r\n 62\r\n1\r\n 10\r\n10.0000000000\r\n 20\r\n20.0000000000\r\n"))
      << dxf.right(300).toStdString();
  // Numbering: every numbered target counts on; the next file is temp1.dxf.
  EXPECT_EQ(settings.acad.currentNumber, 1);
  EXPECT_EQ(settings.gsu7.currentNumber, 1);
  EXPECT_EQ(settings.gsu6.currentNumber, 0);
  ASSERT_EQ(transfer.transfer(Target::Acad, store, settings, folder), CadTransfer::Result::Sent);
  EXPECT_TRUE(QFile::exists(folder + "temp1.dxf"));
  EXPECT_TRUE(QFile::exists(folder + "temp0.dxf"));
  EXPECT_EQ(transfer.writtenFiles(), (QStringList{folder + "temp0.dxf", folder + "temp1.dxf"}));
  EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
  EXPECT_EQ(beeps, 0);
}

TEST_F(Fixture, ColladaForSketchUp7TheClipboardGroupAndMaximise) {
  settings.gsu7.title = "SketchUp test";
  settings.gsu7.maximise = true;
  settings.gsu7.command = "~{TAB 2}{XHello}{1}{ENTER}";
  Recorder cad("Model - SketchUp test");
  const FigureStore store = oneLine();
  ASSERT_EQ(transfer.transfer(Target::Gsu7, store, settings, folder), CadTransfer::Result::Sent);
  EXPECT_TRUE(pumpUntil([&] { return cad.has("clipboard") && cad.keys().ends_with("-Return"); }));
  EXPECT_EQ(cad.keys(), "+Shift_L, +Tab, -Tab, -Shift_L, +Shift_L, +Tab, -Tab, -Shift_L, +Control_L, +v, -v, "
                        "-Control_L, +Return, -Return");
  EXPECT_EQ(cad.clipboard(), "Hello");
  EXPECT_TRUE(cad.has("size 1280x1024")) << cad.lines().join("\n").toStdString();
  EXPECT_TRUE(readAll(folder + "temp.dae").contains("<COLLADA"));
  EXPECT_FALSE(QFile::exists(folder + "temp.dxf"));
}

TEST_F(Fixture, AnUnclosedClipboardGroupSendsNothing) {
  settings.gsu6.title = "SU6 test";
  settings.gsu6.command = "{TAB}{Xabc";
  Recorder cad("SU6 test");
  ASSERT_EQ(transfer.transfer(Target::Gsu6, oneLine(), settings, folder), CadTransfer::Result::Sent);
  pumpUntil([] { return false; }, 500);
  EXPECT_EQ(cad.keys(), "");
  EXPECT_TRUE(QFile::exists(folder + "temp.dxf"));
}

TEST_F(Fixture, RefusalsSendNothing) {
  // No window with the title text; an empty store; an empty title text never matches.
  settings.acad.title = "No such CAD";
  Recorder other("AutoCAD test");
  EXPECT_EQ(transfer.transfer(Target::Acad, oneLine(), settings, folder), CadTransfer::Result::NotRunning);
  EXPECT_EQ(transfer.transfer(Target::Acad, FigureStore{}, settings, folder), CadTransfer::Result::NoFigures);
  settings.gsu7.title.clear();
  EXPECT_EQ(transfer.transfer(Target::Gsu7, oneLine(), settings, folder), CadTransfer::Result::NotRunning);
  EXPECT_EQ(messages, (QStringList{QString::fromUtf8("AutoCADが起動されていません。"),
                                   QString::fromUtf8("図形データが生成されていません。"),
                                   QString::fromUtf8("Google SketchUp7が起動されていません。")}));
  EXPECT_EQ(beeps, 3);
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
  // A temporary file that cannot be written (a folder of that name) stops the transfer.
  settings.acad.title = "AutoCAD";
  ASSERT_TRUE(QDir().mkdir(folder + "temp.dxf"));
  EXPECT_EQ(transfer.transfer(Target::Acad, oneLine(), settings, folder), CadTransfer::Result::FileNotWritten);
  EXPECT_EQ(messages.last(), QString::fromUtf8("一時DXFファイルが作成出来ませんでした。"));
  pumpUntil([] { return false; }, 300);
  EXPECT_EQ(other.keys(), "");
}

// Of several matching windows the last one in front-to-back order, the backmost, is taken.
TEST_F(Fixture, TheLastMatchingWindowWins) {
  settings.acad.title = "AutoCAD";
  settings.acad.command = "a";
  Recorder back("AutoCAD back");
  Recorder front("AutoCAD front");
  ASSERT_EQ(transfer.transfer(Target::Acad, oneLine(), settings, folder), CadTransfer::Result::Sent);
  EXPECT_TRUE(pumpUntil([&] { return back.keys() == "+a, -a"; }));
  EXPECT_EQ(front.keys(), "");
}

}  // namespace
}  // namespace kubrix::cad

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
