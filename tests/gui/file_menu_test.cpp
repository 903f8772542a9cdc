// The file menu: new, open, save and save as with their questions and status texts; plain scripts
// in Shift-JIS and UTF-8 saved back unchanged with the backup copy; protected scripts with TForm2,
// hidden editor and refused saves; distribution scripts with TForm4 and the nine thumbnails; damaged
// files and failed writes.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <sys/resource.h>

#include <csignal>

#include "app/gui/script_file_dialogs.h"
#include "engine/engine.h"
#include "engine/sjis.h"
#include "files/script_file.h"
#include "interaction/qt/beep.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

QByteArray sj(const char* utf8) { return QByteArray::fromStdString(kubrix::utf8ToSjis(utf8)); }

const char* const kLineScript = "// 歯車 の 例\n//　説明　です\n#VAR\nd=3;*長さ\ne\n#DRAW\nLINE e, 0, 0, 0, d, 0, 0\n";

// Opens path through the open command (its dialog answered with path) and waits for the run.
void openFile(Window& w, const QString& path) {
  w->chooseOpenFile = [path](const QString&) { return path; };
  w->MnuFileOpenClick();
  w->waitForRun();
}

// Answers the save dialog with name (in the window's folder) and the filter (1-based).
void answerSave(Window& w, const QString& name, int filter, QString* folderShown = nullptr,
                QString* nameShown = nullptr) {
  const QString path = name.isEmpty() ? QString() : w.folder() + "/" + name;
  w->chooseSaveFile = [path, filter, folderShown, nameShown](const QString& folder, const QString& shown) {
    if (folderShown) *folderShown = folder;
    if (nameShown) *nameShown = shown;
    return TScrForm::SaveChoice{path, filter};
  };
}

// Keeps files from growing beyond limit bytes while it lives, so that a write fails half-way.
struct FileSizeLimit {
  struct rlimit old;
  void (*handler)(int);
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &old);
    handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, handler);
  }
};

}  // namespace

class FileMenuTest : public QObject {
  Q_OBJECT
 private slots:
  void newAsksAndEmptiesEverything() {
    Window w;
    w->startUp();
    w.run(u(kLineScript));
    w.answerYes = false;
    w->MnuFileNewClick();
    QCOMPARE(w.questions.last(), u("スクリプトを新規状態にします。よろしいですか？"));
    QCOMPARE(w->statusText(1), u("新規作成しませんでした"));
    QCOMPARE(w->Memo2->toPlainText(), u(kLineScript));
    w.answerYes = true;
    const int beeps = kubrix::qt::beepCount();
    w->MnuFileNewClick();
    QCOMPARE(w->statusText(1), u("新規作成しました"));
    QCOMPARE(w->statusText(0), QString());
    QCOMPARE(w->Memo2->toPlainText(), QString());
    QCOMPARE(w->windowTitle(), QString("Kubrix"));
    QCOMPARE(w->engine().figures.count(), size_t{0});
    QCOMPARE(kubrix::qt::beepCount(), beeps + 1);  // the empty script's run
  }

  void plainScriptsOpenAndSaveBackUnchanged() {
    Window w;
    w->startUp();
    // Shift-JIS with CR LF.
    const QString a = w.folder() + "/a.KX";
    const QByteArray sjis = sj("#VAR\r\nd=3;*長さ\r\ne\r\n#DRAW\r\nLINE e, 0, 0, 0, d, 0, 0\r\n");
    writeFile(a, sjis);
    openFile(w, a);
    QCOMPARE(w->currentFile(), a);
    QCOMPARE(w->windowTitle(), "Kubrix - " + a);
    QCOMPARE(w->Memo2->toPlainText(), u("#VAR\nd=3;*長さ\ne\n#DRAW\nLINE e, 0, 0, 0, d, 0, 0\n"));
    QCOMPARE(w->engine().figures.count(), size_t{1});
    QCOMPARE(QString::fromStdString(w->settings().openFolder), w.folder());
    // Save unchanged: the same bytes, and the earlier file as the backup.
    w->MnuFileSaveClick();
    QCOMPARE(w.questions.last(), u("ファイルを上書き保存します。よろしいですか？"));
    QCOMPARE(w->statusText(1), u("ファイルを上書き保存しました"));
    QCOMPARE(readFile(a), sjis);
    QCOMPARE(readFile(w.folder() + "/a.bak"), sjis);
    // Changed and saved: the backup holds the file as it was before.
    w->Memo2->setPlainText(w->Memo2->toPlainText() + "TEN e, 1, 2, 3\n");
    w->MnuFileSaveClick();
    QCOMPARE(readFile(a), sjis + "TEN e, 1, 2, 3\r\n");
    QCOMPARE(readFile(w.folder() + "/a.bak"), sjis);
    // No: nothing is written.
    w.answerYes = false;
    w->Memo2->setPlainText(w->Memo2->toPlainText() + "TEN e, 4, 5, 6\n");
    w->MnuFileSaveClick();
    QCOMPARE(readFile(a), sjis + "TEN e, 1, 2, 3\r\n");

    // UTF-8 with LF and a character that CP932 lacks: saved back byte for byte.
    w.answerYes = true;
    const QString b = w.folder() + "/b.kx";
    const QByteArray utf8 = QString("// ① 😀\n#VAR\nd=2;*幅\n").toUtf8();
    writeFile(b, utf8);
    openFile(w, b);
    QCOMPARE(w->Memo2->toPlainText(), QString::fromUtf8(utf8));
    w->MnuFileSaveClick();
    QCOMPARE(readFile(b), utf8);
    // Save as a new name keeps the encoding and takes the new name.
    answerSave(w, "c", 1);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("ファイルを保存しました"));
    QCOMPARE(readFile(w.folder() + "/c.kx"), utf8);
    QCOMPARE(w->currentFile(), w.folder() + "/c.kx");
    QCOMPARE(w->windowTitle(), "Kubrix - " + w.folder() + "/c.kx");
  }

  void saveAsRefusesAndCancels() {
    Window w;
    w->startUp();
    w->Memo2->setPlainText(u("  \n\t\n　\n"));
    answerSave(w, "x", 1);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("内容が空状態ですので保存できません"));
    w->MnuFileSaveClick();
    QCOMPARE(w->statusText(1), u("内容が空状態ですので保存できません"));
    QVERIFY(!QFile::exists(w.folder() + "/x.kx"));
    w->Memo2->setPlainText(u(kLineScript));
    answerSave(w, "", 1);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("ファイルを保存しませんでした"));
    // Save without a file name is save as; the dialog starts in the open folder with no name.
    QString folder, name;
    answerSave(w, "new", 1, &folder, &name);
    w->settings().openFolder = kubrix::utf8ToSjis(w.folder().toStdString());
    w->MnuFileSaveClick();
    QCOMPARE(folder, w.folder());
    QCOMPARE(name, QString());
    QCOMPARE(w->statusText(1), u("ファイルを保存しました"));
    QVERIFY(!QFile::exists(w.folder() + "/new.bak"));  // nothing to back up
    QCOMPARE(readFile(w.folder() + "/new.kx"), sj(kLineScript).replace("\n", "\r\n"));
    // The next save as offers the current name without extension.
    answerSave(w, "other.txt", 4, &folder, &name);
    w->MnuFileSaveAsClick();
    QCOMPARE(name, QString("new"));
    QVERIFY(!QFile::exists(w.folder() + "/other.txt"));
    QCOMPARE(w->statusText(1), u("ファイルを保存しませんでした"));
    QCOMPARE(w->currentFile(), w.folder() + "/new.kx");
  }

  void protectedScriptsWithComment() {
    Window w;
    w->startUp();
    w->settings().personalName = kubrix::utf8ToSjis("山田");
    w->Memo2->setPlainText(u("#VAR\n\n   e   \n#DRAW\n\tLINE e, 0, 0, 0, 2, 0, 0  \n"));
    const int beeps = kubrix::qt::beepCount();
    whenModal([&](QWidget* m) {
      auto* d = qobject_cast<TForm2*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("コメント入力"));
      QCOMPARE(d->OKBtn->text(), u("ＯＫ (&Y)"));
      QCOMPARE(d->CancelBtn->text(), u("キャンセル(&N)"));
      QCOMPARE(d->Edit1->text(), QString());
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);  // empty: refused
      QVERIFY(d->isVisible());
      QCOMPARE(QApplication::focusWidget(), d->Edit1);
      d->Edit1->setText(QString(300, 'c'));
      QCOMPARE(d->Edit1->text().size(), 255);
      d->Edit1->setText(u("線の例"));
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    answerSave(w, "p", 2);
    w->MnuFileSaveAsClick();
    QCOMPARE(kubrix::qt::beepCount(), beeps + 1);
    QCOMPARE(w->statusText(1), u("暗号化スクリプトファイルを保存しました。"));
    QCOMPARE(w->currentFile(), QString());  // the current file name does not change
    kubrix::ProtectedScript back;
    std::string error;
    QVERIFY(kubrix::readProtectedScript(readFile(w.folder() + "/p.kxp").toStdString(), back, error));
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(back.comment)), u("線の例"));
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(back.personalName)), u("山田"));
    QCOMPARE(back.lines, (std::vector<std::string>{"#VAR", "e", "#DRAW", "LINE e, 0, 0, 0, 2, 0, 0"}));
    // The comment dialog cancelled: nothing saved. Its field is empty at every show.
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TForm2*>(m);
      QCOMPARE(d->Edit1->text(), QString());
      QTest::mouseClick(d->CancelBtn, Qt::LeftButton);
    });
    answerSave(w, "q.kxp", 1);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("ファイルを保存しませんでした"));
    QVERIFY(!QFile::exists(w.folder() + "/q.kxp"));

    // Opened, the protected script runs with its editor and log hidden, and cannot be saved.
    w->show();
    openFile(w, w.folder() + "/p.kxp");
    QVERIFY(w->Memo2->isHidden());
    QVERIFY(w->MemoLog->isHidden());
    QCOMPARE(w->windowTitle(), "Kubrix - " + w.folder() + "/p.kxp");
    QCOMPARE(w->engine().figures.count(), size_t{1});
    w->MnuFileSaveClick();
    QCOMPARE(w->statusText(1), u("暗号化スクリプトファイルですので保存できません"));
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("暗号化スクリプトファイルですので保存できません"));
    // Its text cannot be copied out of the hidden editor.
    QGuiApplication::clipboard()->setText("before");
    w->MnuEditSelectAllClick();
    w->MnuEditCopyClick();
    w->MnuEditCutClick();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
    QVERIFY(w->Memo2->toPlainText().contains("LINE"));
    // New shows the editor again.
    w->MnuFileNewClick();
    QVERIFY(!w->Memo2->isHidden());
  }

  void damagedAndMissingFilesOpenNothing() {
    Window w;
    w->startUp();
    w->show();
    const std::string good = *kubrix::writeProtectedScript("c", "n", {"#VAR", "e", "#DRAW", "TEN e, 1, 2, 3"});
    // Cut inside a record: nothing of it reaches the editor, which is shown again.
    writeFile(w.folder() + "/cut.kxp", QByteArray::fromStdString(good.substr(0, good.size() - 3)));
    w->Memo2->setPlainText("old");
    openFile(w, w.folder() + "/cut.kxp");
    QVERIFY(!w->Memo2->isHidden());
    QVERIFY(!w->MemoLog->isHidden());
    QCOMPARE(w->Memo2->toPlainText(), QString());
    QCOMPARE(w->windowTitle(), QString("Kubrix"));
    QCOMPARE(w->currentFile(), QString());
    QCOMPARE(w->engine().figures.count(), size_t{0});
    // A record longer than the file.
    writeFile(w.folder() + "/long.kxp", QByteArray::fromStdString(good + "\xFF\xFF" + "abc"));
    openFile(w, w.folder() + "/long.kxp");
    QCOMPARE(w->Memo2->toPlainText(), QString());
    QVERIFY(!w->Memo2->isHidden());
    // No marker: not loaded, the editor stays hidden and empty.
    writeFile(w.folder() + "/plain.kxp", "#VAR\r\ne\r\n");
    openFile(w, w.folder() + "/plain.kxp");
    QVERIFY(w->Memo2->isHidden());
    QCOMPARE(w->Memo2->toPlainText(), QString());
    // Missing files and other extensions: nothing opened, editor shown.
    w->chooseOpenFile = [](const QString&) { return QString(); };
    w->MnuFileOpenClick();
    QCOMPARE(w->statusText(1), u("ファイルを開きませんでした"));
    writeFile(w.folder() + "/t.txt", "#VAR\r\n");
    for (const char* name : {"/none.kx", "/t.txt"}) {
      w->Memo2->setPlainText("old");
      openFile(w, w.folder() + name);
      QVERIFY(!w->Memo2->isHidden());
      QCOMPARE(w->Memo2->toPlainText(), QString());
      QCOMPARE(w->currentFile(), QString());
    }
  }

  void failedWritesKeepTheEarlierFile() {
    Window w;
    w->startUp();
    const QString a = w.folder() + "/a.kx";
    writeFile(a, "#VAR\r\n");
    openFile(w, a);
    w->Memo2->setPlainText(QString(20000, 'x'));
    const int beeps = kubrix::qt::beepCount();
    {
      FileSizeLimit limit(4000);
      w->MnuFileSaveClick();
    }
    QCOMPARE(readFile(a), QByteArray("#VAR\r\n"));
    QCOMPARE(readFile(w.folder() + "/a.bak"), QByteArray("#VAR\r\n"));
    QCOMPARE(kubrix::qt::beepCount(), beeps + 1);
    QCOMPARE(w.messages.last(), u("ファイルの上書き保存が出来ませんでした"));
    QCOMPARE(w->statusText(1), u("ファイルの上書き保存が出来ませんでした"));
    // Save as into a folder that does not exist: the name stays the earlier one.
    answerSave(w, "no/such.kx", 1);
    w->MnuFileSaveAsClick();
    QCOMPARE(w.messages.last(), u("ファイルの保存が出来ませんでした"));
    QCOMPARE(w->statusText(1), u("ファイルの保存が出来ませんでした"));
    QCOMPARE(w->currentFile(), a);
    // A protected file that cannot be written.
    writeFile(w.folder() + "/p.kxp", "earlier");
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TForm2*>(m);
      d->Edit1->setText("c");
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    answerSave(w, "p.kxp", 2);
    {
      FileSizeLimit limit(4000);
      w->MnuFileSaveAsClick();
    }
    QCOMPARE(w->statusText(1), u("暗号化スクリプトファイルを保存出来ませんでした。"));
    QCOMPARE(readFile(w.folder() + "/p.kxp"), QByteArray("earlier"));
  }

  void distributionFileNeedsFiguresAndAsksForItsHeader() {
    Window w;
    w->startUp();
    w->Memo2->setPlainText("#VAR\nd=1\n");
    const int beeps = kubrix::qt::beepCount();
    answerSave(w, "empty", 3);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("配布用ファイルは保存出来ませんでした。"));
    QCOMPARE(kubrix::qt::beepCount(), beeps + 2);  // the run's beep and the refusal's
    QVERIFY(!QFile::exists(w.folder() + "/empty.kxt"));

    w->Memo2->setPlainText(u(kLineScript));
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TForm4*>(m);
      QVERIFY(d);
      QCOMPARE(d->windowTitle(), u("配布用スクリプトファイル"));
      QCOMPARE(d->Edit1->text(), u("歯車の例"));
      QCOMPARE(d->Edit2->text(), u("No Name"));
      QCOMPARE(d->Edit3->text(), u("No Url"));
      QCOMPARE(d->Edit4->text(), u("説明です"));
      QTest::mouseClick(d->CancelBtn, Qt::LeftButton);
    });
    answerSave(w, "dist", 3);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("ファイルを保存しませんでした"));
    QVERIFY(!QFile::exists(w.folder() + "/dist.kxt"));
    QCOMPARE(distributionFieldFromLine(u("ab")), QString());
    QCOMPARE(distributionFieldFromLine(u("//\t題　名 \x01x")), u("題名x"));
  }

  // Needs OpenGL for the pictures: run under Xvfb (gui.FileMenuThumbnails).
  void distributionFileHoldsNineBitmaps() {
    Window w;
    w->startUp();
    w->Memo2->setPlainText(u(kLineScript) + u("3SOLID e, 0, 0, 0, 3, 0, 0, 0, 3, 1\n"));
    w->settings().authorName = kubrix::utf8ToSjis("作者");
    whenModal([](QWidget* m) {
      auto* d = qobject_cast<TForm4*>(m);
      const int beeps = kubrix::qt::beepCount();
      d->Edit1->clear();
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);  // an empty title is refused
      QVERIFY(d->isVisible());
      QCOMPARE(kubrix::qt::beepCount(), beeps + 1);
      QCOMPARE(QApplication::focusWidget(), d->Edit1);
      d->Edit1->setText(u("題"));
      QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
    answerSave(w, "dist", 3);
    w->MnuFileSaveAsClick();
    QCOMPARE(w->statusText(1), u("配布用スクリプトファイルを保存しました。"));
    QCOMPARE(w->currentFile(), QString());
    kubrix::DistributionScript back;
    std::string error;
    QVERIFY2(kubrix::readDistributionScript(readFile(w.folder() + "/dist.kxt").toStdString(), back, error), error.c_str());
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(back.header.title)), u("題"));
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(back.header.author)), u("作者"));
    QCOMPARE(QString::fromStdString(kubrix::sjisToUtf8(back.header.comment)), u("説明です"));
    QCOMPARE(back.lines.size(), size_t{8});
    for (int n = 0; n < 9; ++n) QVERIFY(!QFile::exists(w.folder() + QString("/BmpTemp%1.bmp").arg(n)));
    if (QGuiApplication::platformName() != "xcb") {
      // Without OpenGL the pictures are missing (length 0) and the viewer's message says why.
      QVERIFY(w.messages.contains(u("OPENGLが利用出来ません")) || !back.thumbnails[0].empty());
      return;
    }
    QImage first;
    for (const std::string& bmp : back.thumbnails) {
      QImage image;
      QVERIFY(image.loadFromData(reinterpret_cast<const uchar*>(bmp.data()), static_cast<int>(bmp.size()), "BMP"));
      QCOMPARE(image.size(), QSize(64, 64));
      QCOMPARE(image.depth(), 8);
      if (first.isNull()) first = image;
    }
    // A full turn: the last picture equals the first; the drawing is not blank.
    QCOMPARE(back.thumbnails[8], back.thumbnails[0]);
    QVERIFY(back.thumbnails[1] != back.thumbnails[0]);
  }
};

QObject* makeFileMenuTest() { return new FileMenuTest; }

#include "file_menu_test.moc"
