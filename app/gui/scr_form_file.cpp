// TScrForm: the file menu — new, open, save as and save — with the plain, protected and
// distribution script files and the backup copy. Results go to the second status panel.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <array>
#include <cstdio>
#include <cstring>

#include "app/gui/log_pump.h"
#include "app/gui/scr_form.h"
#include "app/gui/script_file_dialogs.h"
#include "engine/engine.h"
#include "engine/sjis.h"
#include "files/replacing_file.h"
#include "files/script_file.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/dialog_parts.h"
#include "output/viewer/thumbnail_renderer.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

const char* const kOpenFilter = "スクリプトファイル(*.kx);;暗号化スクリプトファイル(*.kxp);;全てのファイル(*.*)";
const char* const kSaveFilter =
    "スクリプトファイル(*.kx);;暗号化スクリプトファイル(*.kxp);;配布用スクリプトファイル(*.kxt);;全てのファイル(*.*)";

// The extension of a path's file name, with its dot, in upper case; empty when the name has no dot.
QString extensionOf(const QString& path) {
  const QString name = path.mid(path.lastIndexOf('/') + 1);
  const qsizetype dot = name.lastIndexOf('.');
  return dot < 0 ? QString() : name.mid(dot).toUpper();
}

// The extension a save-dialog filter (1-based) gives a name without one.
QString filterExtension(int filter) { return filter == 2 ? ".kxp" : filter == 3 ? ".kxt" : ".kx"; }

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The editor's lines in CP932.
std::vector<std::string> editorLines(const QPlainTextEdit* editor) {
  return splitScriptLines(qt::toSjis(editor->toPlainText()));
}

QString overlongLineMessage(size_t line) {
  return u("%1行目が長すぎるため保存できません（1行は%2バイトまでです）。").arg(line + 1).arg(kMaxRecordBytes);
}

// Writes the bytes of a protected or distribution file (none: a line too long) and reports.
void writeRecordFile(TScrForm& form, const QString& path, const std::optional<std::string>& bytes, size_t overlong,
                     const char* saved, const char* failed) {
  int error = 0;
  if (bytes && writeFileReplacing(localPath(path), *bytes, &error)) return form.setStatusText(1, u(saved));
  form.setStatusText(1, u(failed));
  if (!bytes) form.showError(overlongLineMessage(overlong));
  else fprintf(stderr, "kubrix: cannot write %s: %s\n", localPath(path).c_str(), strerror(error));
}

// The nine thumbnails, through the files prefix + n + ".bmp" that the renderer writes and that are
// read and deleted here; a missing picture is empty.
std::array<std::string, kThumbnailCount> thumbnailFiles(const FigureStore& store, const QString& prefix,
                                                        const std::function<void(const QString&)>& message) {
  writeThumbnailFiles(store, localPath(prefix), message);
  std::array<std::string, kThumbnailCount> pictures;
  for (size_t n = 0; n < kThumbnailCount; ++n) {
    QFile f(prefix + QString::number(n) + ".bmp");
    if (f.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = f.readAll();
      pictures[n].assign(bytes.constData(), static_cast<size_t>(bytes.size()));
      f.close();
    }
    f.remove();
  }
  return pictures;
}

}  // namespace

void TScrForm::installFileDialogs() {
  chooseOpenFile = [this](const QString& folder) {
    QFileDialog d(this, u("開く"), folder, u(kOpenFilter));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setDefaultSuffix("kx");
    return d.exec() == QDialog::Accepted ? d.selectedFiles().value(0) : QString();
  };
  chooseSaveFile = [this](const QString& folder, const QString& name) {
    QFileDialog d(this, u("名前を付けて保存"), folder, u(kSaveFilter));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = d.nameFilters();
    d.selectNameFilter(filters.value(0));
    d.selectFile(name);
    // A name typed without extension gets the chosen kind's, before the overwrite question.
    d.setDefaultSuffix("kx");
    connect(&d, &QFileDialog::filterSelected, &d, [&d, filters](const QString& f) {
      d.setDefaultSuffix(filterExtension(static_cast<int>(filters.indexOf(f)) + 1).mid(1));
    });
    SaveChoice choice;
    if (d.exec() != QDialog::Accepted) return choice;
    choice.path = d.selectedFiles().value(0);
    choice.filter = static_cast<int>(filters.indexOf(d.selectedNameFilter())) + 1;
    return choice;
  };
}

bool TScrForm::currentIsProtected() const { return extensionOf(currentFile_) == ".KXP"; }

bool TScrForm::editorIsEmpty() const { return !hasNonBlank(qt::toSjis(Memo2->toPlainText())); }

// No file: the name forgotten, the editor and the log empty and shown.
void TScrForm::clearEditorShown() {
  currentFile_.clear();
  plainFormat_ = {};
  Memo2->clear();
  logPump_->clear();
  Memo2->setVisible(true);
  MemoLog->setVisible(true);
  setCaption();
}

void TScrForm::MnuFileNewClick() {
  if (isRunning()) return;
  closeSearchDialogs();
  if (askYesNo(u("スクリプトを新規状態にします。よろしいですか？"))) {
    clearEditorShown();
    Button1Click();
    waitForRun();
    setStatusText(1, u("新規作成しました"));
  } else {
    setStatusText(1, u("新規作成しませんでした"));
  }
  setStatusText(0, QString());
}

void TScrForm::MnuFileOpenClick() {
  if (isRunning()) return;
  closeSearchDialogs();
  const QString path = chooseOpenFile(qt::fromSjis(settings_.openFolder));
  if (path.isEmpty()) {
    setStatusText(1, u("ファイルを開きませんでした"));
    setStatusText(0, QString());
    return;
  }
  const QFileInfo file(path);
  const QString ext = extensionOf(path);
  bool opened = false;
  if (file.isFile() && (ext == ".KX" || ext == ".KXP")) {
    settings_.openFolder = qt::toSjis(file.absolutePath());
    if (ext == ".KX") {
      opened = loadPlainScript(file.absoluteFilePath());
      Memo2->setVisible(true);
      MemoLog->setVisible(true);
    } else {
      plainFormat_ = {};
      opened = loadProtectedScript(file.absoluteFilePath());
    }
    setStatusText(1, opened ? u("ファイルを開きました") : u("ファイルを開けませんでした"));
  } else {
    if (file.isFile()) settings_.openFolder = qt::toSjis(file.absolutePath());
    clearEditorShown();
    setStatusText(1, u("ファイルを開けませんでした"));
  }
  setStatusText(0, QString());
  Button1Click();
}

void TScrForm::MnuFileSaveAsClick() {
  closeSearchDialogs();
  saveAs();
  setStatusText(0, QString());
}

void TScrForm::saveAs() {
  if (editorIsEmpty()) return setStatusText(1, u("内容が空状態ですので保存できません"));
  if (currentIsProtected()) return setStatusText(1, u("暗号化スクリプトファイルですので保存できません"));
  const QFileInfo current(currentFile_);
  const QString folder = currentFile_.isEmpty() ? qt::fromSjis(settings_.openFolder) : current.absolutePath();
  SaveChoice choice = chooseSaveFile(folder, currentFile_.isEmpty() ? QString() : current.completeBaseName());
  if (choice.path.isEmpty()) return setStatusText(1, u("ファイルを保存しませんでした"));
  QString path = QFileInfo(choice.path).absoluteFilePath();
  settings_.openFolder = qt::toSjis(QFileInfo(path).absolutePath());
  if (extensionOf(path).isEmpty()) path += filterExtension(choice.filter);
  const QString ext = extensionOf(path);
  if (ext == ".KX") {
    if (writePlainScript(path)) {
      currentFile_ = path;
      setCaption();
      setStatusText(1, u("ファイルを保存しました"));
    } else {
      qt::beep();
      showError(u("ファイルの保存が出来ませんでした"));
      setStatusText(1, u("ファイルの保存が出来ませんでした"));
    }
  } else if (ext == ".KXP") {
    saveProtected(path);
  } else if (ext == ".KXT") {
    if (isRunning()) return;
    saveDistribution(path);
  } else {
    // Another extension is no script file: nothing is written, and the status says so.
    setStatusText(1, u("ファイルを保存しませんでした"));
  }
}

void TScrForm::MnuFileSaveClick() {
  closeSearchDialogs();
  if (editorIsEmpty()) {
    setStatusText(1, u("内容が空状態ですので保存できません"));
  } else if (currentIsProtected()) {
    setStatusText(1, u("暗号化スクリプトファイルですので保存できません"));
  } else if (currentFile_.isEmpty()) {
    saveAs();
  } else if (askYesNo(u("ファイルを上書き保存します。よろしいですか？"))) {
    if (writePlainScript(currentFile_)) {
      setStatusText(1, u("ファイルを上書き保存しました"));
    } else {
      qt::beep();
      showError(u("ファイルの上書き保存が出来ませんでした"));
      setStatusText(1, u("ファイルの上書き保存が出来ませんでした"));
    }
  }
  setStatusText(0, QString());
}

// The backup copy of an existing file, then the editor text in the encoding the file was read in
// (CP932 for a new script; UTF-8 when the text holds characters CP932 lacks), through a temporary
// file: a failed write keeps the earlier file.
bool TScrForm::writePlainScript(const QString& path) {
  const std::string target = localPath(path);
  if (QFileInfo(path).isFile()) makeBackupCopy(target);  // failures of the backup are ignored
  bool utf8 = false;
  const std::string bytes = plainScriptBytes(Memo2->toPlainText().toStdString(), plainFormat_, &utf8);
  int error = 0;
  if (!writeFileReplacing(target, bytes, &error)) {
    fprintf(stderr, "kubrix: cannot write %s: %s\n", target.c_str(), strerror(error));
    return false;
  }
  plainFormat_.utf8 = utf8;
  return true;
}

void TScrForm::saveProtected(const QString& path) {
  QString comment;
  if (!Form2->execute(comment)) return setStatusText(1, u("ファイルを保存しませんでした"));
  size_t overlong = 0;
  const auto bytes = writeProtectedScript(qt::toSjis(comment), settings_.personalName, editorLines(Memo2), &overlong);
  writeRecordFile(*this, path, bytes, overlong, "暗号化スクリプトファイルを保存しました。",
                  "暗号化スクリプトファイルを保存出来ませんでした。");
}

void TScrForm::saveDistribution(const QString& path) {
  // The pictures show the script's figures: it runs first, from empty stores.
  Button1Click();
  waitForRun();
  if (engine_->figures.count() == 0) {
    setStatusText(1, u("配布用ファイルは保存出来ませんでした。"));
    qt::beep();
    return;
  }
  if (onCloseViewer) onCloseViewer();
  const QStringList shown = Memo2->toPlainText().split('\n');
  DistributionFields fields{distributionFieldFromLine(shown.value(0)), qt::fromSjis(settings_.authorName),
                            qt::fromSjis(settings_.authorUrl),
                            shown.size() > 1 ? distributionFieldFromLine(shown.value(1)) : QString()};
  if (!Form4->execute(fields)) return setStatusText(1, u("ファイルを保存しませんでした"));
  const DistributionHeader header{qt::toSjis(fields.title), qt::toSjis(fields.author), qt::toSjis(fields.url),
                                  qt::toSjis(fields.comment)};
  const auto pictures = thumbnailFiles(engine_->figures, paths_.dataFolder + "BmpTemp", showMessage);
  size_t overlong = 0;
  const auto bytes = writeDistributionScript(header, pictures, editorLines(Memo2), &overlong);
  writeRecordFile(*this, path, bytes, overlong, "配布用スクリプトファイルを保存しました。",
                  "配布用スクリプトファイルを保存出来ませんでした。");
}

}  // namespace kubrix::gui
