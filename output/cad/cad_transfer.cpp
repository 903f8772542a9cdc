// The CAD hand-over on X11.
#include "output/cad/cad_transfer.h"

#include <QClipboard>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "engine/sjis.h"
#include "output/cad/key_string.h"
#include "output/cad/x11_session.h"
#include "output/export/export.h"

namespace kubrix::cad {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// Sets the clipboard and lets the system clipboard take it over before keys ask for it.
void putOnClipboard(const QString& text) {
  QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
  QCoreApplication::processEvents();
}

}  // namespace

CadTransfer::CadTransfer(std::function<void()> beep, std::function<void(const QString&)> message)
    : beep_(std::move(beep)), message_(std::move(message)) {}

CadTransfer::~CadTransfer() = default;

bool CadTransfer::sessionAvailable(std::string* why) {
  // Offscreen and other platforms keep the clipboard inside this program, where no CAD program
  // could paste from it.
  const QString platform = QGuiApplication::platformName();
  if (platform != "xcb" && !platform.startsWith("wayland")) {
    if (why) *why = "the desktop program runs on the \"" + platform.toStdString() + "\" platform, not on a desktop";
    return false;
  }
  return X11Session::open(why) != nullptr;
}

CadTransfer::Result CadTransfer::transfer(Target target, const FigureStore& store, Settings& settings,
                                          const QString& folder) {
  if (busy_) return Result::Busy;
  auto refuse = [this](const QString& text, Result r) {
    beep_();
    message_(text);
    return r;
  };
  if (store.count() == 0) return refuse(u(kNoFiguresMessage), Result::NoFigures);
  std::string why;
  std::unique_ptr<X11Session> session = sessionAvailable(&why) ? X11Session::open(&why) : nullptr;
  if (session && !session->hasXTest()) why = "the X server has no XTest extension";
  if (!session || !session->hasXTest()) {
    fprintf(stderr, "kubrix: CAD output: %s\n", why.c_str());
    return refuse(u(kNeedsX11Message), Result::NoSession);
  }
  const unsigned long window = findTargetWindows(session->topLevelWindows(), settings)[static_cast<size_t>(target)];
  if (window == 0) return refuse(u(notRunningMessage(target)), Result::NotRunning);

  const CadSettings& c = cadSettings(settings, target);
  ExportContext context;
  context.exportScale = outputScale(c.scaleIndex);
  context.viewScale = viewScaleOf(store);
  const QString path = folder + QString::fromStdString(temporaryFileName(target, c));
  std::string error;
  // A failed write must not hand over an older file of that name: the writer's answer counts.
  const bool written = writeExport(store, writesCollada(target) ? ExportFormat::Collada : ExportFormat::Dxf,
                                   QFile::encodeName(path).toStdString(), context, error);
  if (!written || !QFileInfo(path).isFile()) {
    if (!written) fprintf(stderr, "kubrix: CAD output: %s: %s\n", QFile::encodeName(path).constData(), error.c_str());
    return refuse(u(fileNotWrittenMessage(target)), Result::FileNotWritten);
  }
  if (!written_.contains(path)) written_ << path;
  putOnClipboard(path);
  busy_ = true;
  cancelled_ = false;
  sendKeys(*session, window, c);
  busy_ = false;
  advanceNumbers(settings);
  return Result::Sent;
}

void CadTransfer::cancel() {
  cancelled_ = true;
  if (waiting_) waiting_->quit();
}

void CadTransfer::wait(int ms) {
  if (ms <= 0 || cancelled_) {
    QCoreApplication::processEvents();
    return;
  }
  // Window messages go on being handled: the program stays usable and serves the clipboard.
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  waiting_ = &loop;
  loop.exec();
  waiting_ = nullptr;
}

void CadTransfer::sendKeys(X11Session& session, unsigned long window, const CadSettings& c) {
  const KeyScript script = parseKeyString(c.command, waitMilliseconds(c.waitSeconds));
  if (!script.valid) return;  // "{X" without "}": nothing is sent
  if (script.hasClipboardText) putOnClipboard(QString::fromStdString(sjisToUtf8(script.clipboardText)));
  int px = 0, py = 0;
  const bool hadPointer = session.pointer(px, py);
  session.movePointer(0, 0);
  std::vector<uint32_t> held;
  if (session.activate(window, c.maximise, [this](int ms) { wait(ms); })) {
    for (const KeyStep& step : script.steps) {
      if (cancelled_) break;
      switch (step.kind) {
        case KeyStep::Wait:
        case KeyStep::Pause: wait(static_cast<int>(std::min<uint64_t>(step.value, INT32_MAX))); break;
        case KeyStep::Press:
          session.key(static_cast<uint32_t>(step.value), true);
          held.push_back(static_cast<uint32_t>(step.value));
          break;
        case KeyStep::Release:
          session.key(static_cast<uint32_t>(step.value), false);
          std::erase(held, static_cast<uint32_t>(step.value));
          break;
      }
    }
  }
  for (auto it = held.rbegin(); it != held.rend(); ++it) session.key(*it, false);  // after a cancel
  if (hadPointer) session.movePointer(px, py);
}

}  // namespace kubrix::cad
