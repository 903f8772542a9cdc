// Reload on change: the open script edited on disk by another program is loaded and run with the
// grid's values kept; a burst of writes gives one reload; a file that is gone, an editor with its
// own changes, and the option turned off leave the editor as it is. The option's key and its box.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/gui/settings_dialogs.h"
#include "engine/engine.h"
#include "engine/sjis.h"
#include "files/ini_file.h"
#include "tests/gui/gui_test_support.h"

using namespace kubrix::gui;
using namespace kubrix::gui::test;

namespace {

QByteArray script(const QStringList& drawLines) {
  QString text = "#VAR\r\nw=2;*幅\r\na\r\n#DRAW\r\nLINE a,0,0,0,w,0,0\r\n";
  for (const QString& l : drawLines) text += l + "\r\n";
  return QByteArray::fromStdString(kubrix::utf8ToSjis(text.toStdString()));
}

// Writes the file the way many editors save: a new file renamed over the old one.
void replaceFile(const QString& path, const QByteArray& bytes) {
  writeFile(path + ".part", bytes);
  QFile::remove(path);
  QVERIFY(QFile::rename(path + ".part", path));
}

const int kSettle = 3 * TScrForm::kReloadQuietMs + 700;

// Opens a new script file as the command line does and waits for its first run; returns its path.
QString openScript(Window& w) {
  const QString path = w.folder() + "/model.kx";
  writeFile(path, script({}));
  w->startUp(path);
  w->show();
  w->waitForRun();
  return path;
}

}  // namespace

class ReloadTest : public QObject {
  Q_OBJECT
 private slots:
  void changedFileIsReloadedAndRunWithTheGridsValues() {
    Window w;
    const QString path = openScript(w);
    w->settings().reloadOnChange = true;
    // A value changed in the grid stays for the reloaded run.
    std::string reason;
    QVERIFY(w->engine().editParameter(w->engine().vars.find("w"), "7", reason));
    int runs = 0;
    connect(&*w, &TScrForm::runFinished, [&runs] { ++runs; });

    replaceFile(path, script({"TEN a,w,1,0"}));
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
    QVERIFY(w->Memo2->toPlainText().trimmed().endsWith("TEN a,w,1,0"));
    QTRY_VERIFY(w.log().contains("     5: "));  // the new line's log line
    QCOMPARE(w->engine().figures.count(), size_t{2});
    QCOMPARE(w->engine().figures.at(1).p[1].x, 7.0);
    QCOMPARE(w->engine().figures.at(2).p[0].x, 7.0);

    // A burst of writes in place: one reload, of the last text.
    for (int i = 1; i <= 6; ++i) {
      writeFile(path, script({QString("TEN a,%1,0,0").arg(i)}));
      QTest::qWait(40);
    }
    QTest::qWait(kSettle);
    QCOMPARE(runs, 2);
    QVERIFY(w->Memo2->toPlainText().trimmed().endsWith("TEN a,6,0,0"));

    // The same text written again (as a save from this editor would): no run.
    writeFile(path, script({"TEN a,6,0,0"}));
    QTest::qWait(kSettle);
    QCOMPARE(runs, 2);
  }

  void goneFileOwnEditsAndTheOptionOffLeaveTheEditor() {
    Window w;
    const QString path = openScript(w);
    int runs = 0;
    connect(&*w, &TScrForm::runFinished, [&runs] { ++runs; });
    const QString shown = w->Memo2->toPlainText();

    // Off (the default): nothing happens.
    QVERIFY(!w->settings().reloadOnChange);
    writeFile(path, script({"TEN a,1,1,1"}));
    QTest::qWait(kSettle);
    QCOMPARE(runs, 0);
    QCOMPARE(w->Memo2->toPlainText(), shown);

    w->settings().reloadOnChange = true;
    QFile::remove(path);
    QTRY_COMPARE_WITH_TIMEOUT(w->statusText(1), u("ファイルが見つからないため再読込しませんでした"), 5000);
    QCOMPARE(w->Memo2->toPlainText(), shown);
    QCOMPARE(w->windowTitle(), "Kubrix - " + path);

    // Back again while the editor holds changes of its own: they are kept.
    w->Memo2->appendPlainText("TEN a,9,9,9");
    const QString edited = w->Memo2->toPlainText();
    writeFile(path, script({"TEN a,2,2,2"}));
    QTRY_COMPARE_WITH_TIMEOUT(w->statusText(1), u("編集中の内容があるため再読込しませんでした"), 5000);
    QCOMPARE(w->Memo2->toPlainText(), edited);

    // A file that is no script text cannot be read.
    w->Memo2->setPlainText(shown);  // the text last loaded: no changes of its own
    writeFile(path, QByteArray("\x00\x01\x02\x03 binary", 11));
    QTRY_COMPARE_WITH_TIMEOUT(w->statusText(1), u("ファイルを読み込めないため再読込しませんでした"), 5000);
    QCOMPARE(w->Memo2->toPlainText(), shown);
    QCOMPARE(runs, 0);
  }

  void optionIsASettingsKeyAndABoxOfTheOtherSettings() {
    QTemporaryDir dir;
    writeFile(dir.filePath("Kubrix.ini"), "[Set]\r\nFRld=1\r\n");
    {
      Window w(dir.path());
      w->startUp();
      QVERIFY(w->settings().reloadOnChange);
      whenModal([](QWidget* m) {
        auto* d = qobject_cast<TSetElse*>(m);
        QVERIFY(d);
        QCOMPARE(d->CheckBox1->text(), u("ファイル変更時に再読込"));
        QVERIFY(d->CheckBox1->isChecked());
        d->CheckBox1->setChecked(false);
        d->OKBtn->click();
      });
      w->MnuSetElseClick();
      QVERIFY(!w->settings().reloadOnChange);
      w->show();
      QVERIFY(w.close());
    }
    const auto ini = kubrix::IniFile::parse(readFile(dir.filePath("Kubrix.ini")).toStdString());
    QCOMPARE(QString::fromStdString(ini.read("Set", "FRld", 32).value_or("<missing>")), QString("0"));
    Window fresh;
    fresh->startUp();
    QVERIFY(!fresh->settings().reloadOnChange);  // off by default
  }
};

QObject* makeReloadTest() { return new ReloadTest; }

#include "reload_test.moc"
