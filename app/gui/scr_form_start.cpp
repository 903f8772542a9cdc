// TScrForm: program start, settings file, script loading at start, line settings and exit.
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <algorithm>
#include <climits>
#include <cstdio>

#include "app/gui/app_paths.h"
#include "app/gui/editor_search.h"
#include "app/gui/gui_host.h"
#include "app/gui/log_pump.h"
#include "app/gui/scr_form.h"
#include "app/gui/settings_dialogs.h"
#include "app/gui/window_place.h"
#include "output/cad/cad_transfer.h"
#include "files/ini_file.h"
#include "files/script_file.h"
#include "engine/engine.h"
#include "interaction/qt/dialog_parts.h"
#include "interaction/speech.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// Script text for the editor: one "\n" per line end.
QString editorText(QString s) {
  s.replace("\r\n", "\n");
  s.replace('\r', '\n');
  return s;
}

QString firstLine(const QString& s) { return s.section('\n', 0, 0); }

constexpr QSize kMinimumWindow(400, 300);
constexpr QSize kDefaultWindow(1000, 700);

}  // namespace

void TScrForm::writeScriptHeader() {
  const std::string header = scriptHeader(settings_);
  QString shown = editorText(qt::fromSjis(header));
  if (shown.endsWith('\n')) shown.chop(1);
  Memo1->setPlainText(shown);
  engine_->setHeader(header);
}

void TScrForm::applySettingsToWindow() {
  QList<QRect> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen()) screens << primary->availableGeometry();
  for (QScreen* s : QGuiApplication::screens())
    if (s != QGuiApplication::primaryScreen()) screens << s->availableGeometry();
  const WindowPlace& f1 = settings_.forms[0];
  // Without a stored place the window gets its default size, centred on the primary screen (a
  // place on no screen is centred).
  const QRect place = f1.complete()
                          ? placeOnScreen(*f1.x, *f1.y, *f1.w, *f1.h, screens, kMinimumWindow, kDefaultWindow)
                          : placeOnScreen(INT_MIN, INT_MIN, kDefaultWindow.width(), kDefaultWindow.height(), screens,
                                          kMinimumWindow, kDefaultWindow);
  resize(place.size());
  move(place.topLeft());

  if (settings_.gridWidth) {
    const int total = std::max(Splitter1->width(), place.width());
    const int grid = std::clamp(*settings_.gridWidth, 40, std::max(40, total - 100));
    Splitter1->setSizes({grid, std::max(100, total - grid)});
  }
  for (int i = 0; i < 3; ++i)
    if (const auto& w = settings_.gridColumns[static_cast<size_t>(i)]) StringGrid1->setColumnWidth(i, std::clamp(*w, 16, 2000));
  CheckBox1->setChecked(settings_.logOff);
  engine_->logOff = settings_.logOff;
}

void TScrForm::takeSettingsFromWindow() {
  const QRect r = (isMaximized() || isMinimized() || isFullScreen()) ? normalGeometry() : QRect(pos(), size());
  WindowPlace& f1 = settings_.forms[0];
  f1.x = r.x();
  f1.y = r.y();
  f1.w = r.width();
  f1.h = r.height();
  settings_.gridWidth = Splitter1->sizes().value(0, StringGrid1->width());
  for (int i = 0; i < 3; ++i) settings_.gridColumns[static_cast<size_t>(i)] = StringGrid1->columnWidth(i);
  settings_.logOff = CheckBox1->isChecked();
}

void TScrForm::saveSettings() {
  const std::string path = QFile::encodeName(paths_.settingsFile()).toStdString();
  // Keys the program does not know are kept, as the private-profile writer keeps them.
  IniFile ini = IniFile::load(path).value_or(IniFile{});
  settings_.write(ini);
  if (!ini.save(path)) fprintf(stderr, "kubrix: cannot write the settings file %s\n", path.c_str());
}

void TScrForm::startUp(const QString& scriptPath) {
  if (!startedUp_) {
    startedUp_ = true;
    // Speech is off when there is no sound device.
    speech_ = std::make_unique<Speech>();
    speech_->open(Speech::Output::Device);
    host_->setSpeech(speech_.get());
    settings_ = Settings{};
    if (auto ini = IniFile::load(QFile::encodeName(paths_.settingsFile()).toStdString())) settings_.read(*ini);
    applySettingsToWindow();
    if (onSettingsRead) onSettingsRead();
    resetGrid();
    engine_->clearStores();
    engine_->figures.clear();
    Memo2->clear();
    logPump_->clear();
    writeScriptHeader();
  }
  if (scriptPath.isEmpty()) return;
  const QFileInfo file(scriptPath);
  const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
  if (!file.isFile()) {
    // Nothing is opened or run (a folder is no script file either); the window says why it stays empty.
    tellStartProblem(u("スクリプトファイル「%1」が見つかりません。").arg(shown));
    return;
  }
  settings_.openFolder = qt::toSjis(file.absolutePath());
  const QString ext = file.suffix().toUpper();
  bool loaded = false;
  if (ext == "KX") {
    loaded = loadPlainScript(file.absoluteFilePath());
  } else if (ext == "KXP") {
    loaded = loadProtectedScript(file.absoluteFilePath());
  } else {
    currentFile_.clear();
    setCaption();
  }
  // A script file that cannot be loaded is said in the window before the (empty) script runs, as
  // the reset button runs it; the run's own status text follows.
  if ((ext == "KX" || ext == "KXP") && !loaded)
    tellStartProblem(u("スクリプトファイル「%1」を読み込めません。\n%2")
                         .arg(shown, file.isReadable() ? u("スクリプトとして読めるテキストではありません。")
                                                       : u("ファイルを開けません。")));
  Button1Click();
}

void TScrForm::tellStartProblem(const QString& text) {
  fprintf(stderr, "kubrix: %s\n", text.toLocal8Bit().constData());
  setStatusText(1, firstLine(text));
  showMessage(text);
}

bool TScrForm::loadPlainScript(const QString& path) {
  const ScriptLoad load = loadScriptFile(QFile::encodeName(path).toStdString(), ScriptEncoding::Auto);
  Memo2->setVisible(true);
  MemoLog->setVisible(true);
  logPump_->clear();
  plainFormat_ = load.ok ? load.format : PlainScriptFormat{};
  if (!load.ok) {
    fprintf(stderr, "kubrix: %s\n", load.error.c_str());
    currentFile_.clear();
    Memo2->clear();
    setCaption();
    return false;
  }
  QString text;
  QFile f(path);
  if (load.utf8 && f.open(QIODevice::ReadOnly)) {
    // A UTF-8 script is shown as it is, so that nothing is lost on the way through CP932.
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    text = QString::fromUtf8(bytes);
  } else {
    text = qt::fromSjis(load.body);
  }
  Memo2->setPlainText(editorText(text));
  currentFile_ = path;
  setCaption();
  return true;
}

bool TScrForm::loadProtectedScript(const QString& path) {
  currentFile_.clear();
  setCaption();
  Memo2->clear();
  logPump_->clear();
  Memo2->setVisible(false);
  MemoLog->setVisible(false);
  plainFormat_ = {};
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {  // a read failure: the editor and the log are shown again
    Memo2->setVisible(true);
    MemoLog->setVisible(true);
    return false;
  }
  const QByteArray bytes = f.readAll();
  if (!bytes.startsWith("KXP_FILE")) return false;  // not loaded: editor and log stay hidden and empty
  std::string body, error;
  if (!readProtectedScript(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), body, error)) {
    fprintf(stderr, "kubrix: %s: %s\n", QFile::encodeName(path).constData(), error.c_str());
    Memo2->setVisible(true);
    MemoLog->setVisible(true);
    return false;
  }
  Memo2->setPlainText(editorText(qt::fromSjis(body)));
  currentFile_ = path;
  setCaption();
  return true;
}

void TScrForm::MnuSetLineClick() {
  if (isRunning()) return;
  setStatusText(1, u("線設定を行います。"));
  if (!SetLine->execute(settings_)) return;
  writeScriptHeader();
  if (engine_->figures.count() > 0) Button2Click();
}

void TScrForm::closeEvent(QCloseEvent* e) {
  if (!closing_) {
    if (!askYesNo(u("終了します。よろしいですか？"))) {
      e->ignore();
      return;
    }
    closing_ = true;
  }
  if (worker_) {
    host_->abortDialogs();  // a dialog the script has open closes as cancelled
    waitForRun();
  }
  closeSearchDialogs();
  cad_->cancel();
  deleteTemporaryCadFiles(paths_.dataFolder, cad_->writtenFiles());
  engine_->clearStores();
  engine_->figures.clear();
  takeSettingsFromWindow();
  if (onBeforeSettingsWrite) onBeforeSettingsWrite();
  saveSettings();
  if (host_->speaking()) host_->stopSpeaking();
  host_->setSpeech(nullptr);
  speech_.reset();
  e->accept();
}

void TScrForm::waitForRun() {
  if (!worker_) return;
  QEventLoop loop;
  connect(this, &TScrForm::runFinished, &loop, &QEventLoop::quit);
  if (worker_) loop.exec();
}

}  // namespace kubrix::gui
