// GUI test helpers.
#include "tests/gui/gui_test_support.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QDialog>

#include "app/gui/log_pump.h"

namespace kubrix::gui::test {

QString u(const char* s) { return QString::fromUtf8(s); }

Window::Window(const QString& folder) {
  if (folder.isEmpty()) {
    dir = std::make_unique<QTemporaryDir>();
    folder_ = dir->path();
  } else {
    folder_ = folder;
  }
  w = std::make_unique<TScrForm>(AppPaths::inFolder(folder_));
  w->showMessage = [this](const QString& m) { messages << m; };
  w->askYesNo = [this](const QString& q) {
    questions << q;
    return answerYes;
  };
  w->onRunFinishedWithFigures = [this] { ++viewerShown; };
  w->showError = [this](const QString& m) { messages << m; };
  // No real file dialogs: a test that opens or saves answers them itself.
  w->chooseOpenFile = [](const QString&) { return QString(); };
  w->chooseSaveFile = [](const QString&, const QString&) { return TScrForm::SaveChoice{}; };
}

Window::~Window() {
  if (w && w->isVisible()) {
    answerYes = true;
    w->close();
  }
}

void Window::run(const QString& script, bool reset) {
  w->Memo2->setPlainText(script);
  runAgain(reset);
}

void Window::runAgain(bool reset) {
  QPushButton* b = reset ? w->Button1 : w->Button2;
  QTest::mouseClick(b, Qt::LeftButton);
  w->waitForRun();
}

QString Window::log() {
  QCoreApplication::processEvents();
  w->logPump().drainAll();
  return w->MemoLog->toPlainText();
}

bool Window::close() {
  answerYes = true;
  return w->close();
}

void whenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && ++*tries < 250) return;
    timer->stop();
    timer->deleteLater();
    if (!modal) return;
    // Activation and focus arrive a little after the dialog shows; a loaded machine makes that
    // visible, so wait for them before the answer looks at the focus.
    (void)QTest::qWaitForWindowActive(modal, 5000);
    for (int i = 0; i < 250 && !(QApplication::focusWidget() && modal->isAncestorOf(QApplication::focusWidget())); ++i)
      QTest::qWait(20);
    answer(modal);
    // An answer cut short by a failed check leaves its dialog open: close it so the test goes on.
    if (auto* d = qobject_cast<QDialog*>(modal); d && d->isVisible()) d->reject();
  });
  timer->start();
}

QString headlessLog(const QString& script) {
  QTemporaryDir dir;
  const QString path = dir.filePath("s.kx");
  writeFile(path, script.toUtf8());
  QProcess p;
  p.start(KUBRIX_RUN_PATH, {"--encoding", "utf8", path});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
  f.write(bytes);
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace kubrix::gui::test
