// The hand-over of the figure store to a running CAD application ("ACAD出力", "SU 出力",
// "GSU7 出力"): the temporary DXF or COLLADA file with the output scale and numbering, its path on
// the clipboard, the application's window found by its title text and activated, and the command
// keys typed into it through XTest while the program keeps responding. Needs an X11 display.
#pragma once

#include <QEventLoop>
#include <QString>
#include <QStringList>
#include <functional>

#include "files/settings.h"
#include "geometry/figure_store.h"
#include "output/cad/hand_over.h"

namespace kubrix::cad {

class X11Session;

class CadTransfer {
 public:
  enum class Result { Sent, NoFigures, NoSession, NotRunning, FileNotWritten, Busy };

  // beep and message (a plain message box) report why a transfer stops.
  CadTransfer(std::function<void()> beep, std::function<void(const QString&)> message);
  ~CadTransfer();

  // Hands store to target with the settings of all three targets (their numbers advance); the
  // temporary file goes into folder (with a trailing "/").
  Result transfer(Target target, const FigureStore& store, Settings& settings, const QString& folder);

  // True when this program can search windows and send keys: an X11 display (also XWayland) and a
  // clipboard the other programs share. Otherwise why (UTF-8) says what is missing.
  static bool sessionAvailable(std::string* why = nullptr);

  // Ends a key string being sent (the program closes); keys still held are released.
  void cancel();
  bool busy() const { return busy_; }
  // The temporary files written since the program started.
  const QStringList& writtenFiles() const { return written_; }

 private:
  void sendKeys(X11Session& session, unsigned long window, const CadSettings& c);
  void wait(int ms);

  std::function<void()> beep_;
  std::function<void(const QString&)> message_;
  QStringList written_;
  bool busy_ = false;
  bool cancelled_ = false;
  QEventLoop* waiting_ = nullptr;
};

}  // namespace kubrix::cad
