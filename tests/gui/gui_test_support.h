// Helpers of the GUI tests: a main window in a temporary program folder, runs that wait for their
// end, and answering the modal dialogs that a click opens.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/gui/scr_form.h"

namespace kubrix::gui::test {

QString u(const char* s);

// A main window whose settings and temporary files live in a fresh temporary folder. Message boxes
// (plain and error) are recorded in messages; the exit question is answered with answerYes; the
// file dialogs are cancelled.
struct Window {
  explicit Window(const QString& folder = QString());
  ~Window();
  TScrForm& operator*() { return *w; }
  TScrForm* operator->() { return w.get(); }
  QString folder() const { return folder_; }
  // Puts text into the editor, runs (reset: the reset button) and waits for the end of the run.
  void run(const QString& script, bool reset = true);
  void runAgain(bool reset = false);
  // The log as shown in MemoLog, once everything is there.
  QString log();
  // Closes the window (the exit question answered yes); true when it closed.
  bool close();

  std::unique_ptr<QTemporaryDir> dir;
  QString folder_;
  std::unique_ptr<TScrForm> w;
  QStringList messages;
  QStringList questions;
  bool answerYes = true;
  int viewerShown = 0;
};

// Calls answer with the modal dialog once it is open (from inside its event loop); gives up after
// about five seconds.
void whenModal(std::function<void(QWidget*)> answer);

// The log kubrix-run writes for a script (UTF-8).
QString headlessLog(const QString& script);

// Writes bytes to a file.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

}  // namespace kubrix::gui::test
