// TScrForm: reloading the open script when its file changes on disk ("ファイル変更時に再読込"). The
// new text goes into the editor and runs as the run button runs it, so the grid's values stay. A
// file that is gone or cannot be read, or an editor with changes of its own, is left as it is and
// the status bar says why.
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "app/gui/file_watch.h"
#include "app/gui/scr_form.h"
#include "files/script_file.h"
#include "interaction/qt/dialog_parts.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// Editor text and script body compared line by line, whatever the line ends.
std::string normalised(std::string s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace

void TScrForm::followCurrentFile() {
  if (!fileWatch_) {
    fileWatch_ = new FileWatch(kReloadQuietMs, this);
    connect(fileWatch_, &FileWatch::settled, this, &TScrForm::openFileChanged);
    connect(this, &TScrForm::runFinished, this, [this] {
      if (reloadPending_) openFileChanged(fileWatch_->path());
    });
  }
  // Only a plain script is shown in the editor; a protected one is never reloaded into it.
  const bool plain = !currentFile_.isEmpty() && QFileInfo(currentFile_).suffix().compare("kxp", Qt::CaseInsensitive) != 0;
  const QString path = plain ? QFileInfo(currentFile_).absoluteFilePath() : QString();
  if (path != fileWatch_->path()) {
    QFile f(path);
    fileBytes_ = !path.isEmpty() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  loadedText_ = Memo2->toPlainText();
  reloadPending_ = false;
  fileWatch_->watch(path);
}

void TScrForm::openFileChanged(const QString& path) {
  reloadPending_ = false;
  if (path.isEmpty() || path != fileWatch_->path()) return;
  if (!QFileInfo(path).isFile()) {
    fileBytes_.clear();
    if (settings_.reloadOnChange) setStatusText(1, u("ファイルが見つからないため再読込しませんでした"));
    return;
  }
  QFile f(path);
  const bool readable = f.open(QIODevice::ReadOnly);
  const QByteArray bytes = readable ? f.readAll() : QByteArray();
  if (readable && bytes == fileBytes_) return;  // the folder changed, not this file
  if (!settings_.reloadOnChange) {
    fileBytes_ = bytes;
    return;
  }
  if (isRunning()) {  // looked at again when the run has ended
    reloadPending_ = true;
    return;
  }
  const ScriptLoad load = loadScriptFile(QFile::encodeName(path).toStdString(), ScriptEncoding::Auto);
  if (!readable || !load.ok) {
    setStatusText(1, u("ファイルを読み込めないため再読込しませんでした"));
    return;
  }
  fileBytes_ = bytes;
  const QString editor = Memo2->toPlainText();
  if (normalised(load.body) == normalised(qt::toSjis(editor))) {
    loadedText_ = editor;  // saved from this editor: nothing to load
    return;
  }
  if (editor != loadedText_) {
    setStatusText(1, u("編集中の内容があるため再読込しませんでした"));
    return;
  }
  if (!loadPlainScript(path)) return;
  loadedText_ = Memo2->toPlainText();
  Button2Click();
}

}  // namespace kubrix::gui
