// TScrForm: the main window. The panel with the run buttons, the page control with the pages "Run"
// (parameter grid StringGrid1, script header Memo1, script editor Memo2) and "Log" (MemoLog), the
// two-panel status bar and the five menus. It owns the engine, the settings and the dialogs; a run
// executes on a worker thread while the window keeps painting, and Escape ends it.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

#include "app/gui/app_paths.h"
#include "files/script_file.h"
#include "files/settings.h"

class QAction;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTableWidget;
class QTabWidget;
class QThread;

namespace kubrix {
class Engine;
class Speech;
}  // namespace kubrix
namespace kubrix::cad {
class CadTransfer;
class TFmSetCad;
}  // namespace kubrix::cad
namespace kubrix::qt {
class TInputDlg1;
class TInputDlg2;
class TInputDlg4;
class TColorDlg1;
class TMesDlg1;
class TYNDlg1;
class ScriptDialogs;
}  // namespace kubrix::qt

namespace kubrix::gui {

class FileWatch;
class GuiHost;
class LogPump;
class ScriptHighlighter;
class TAboutBox;
class TFindDialog;
class TReplaceDialog;
class TSetElse;
class TSetLine;
class TForm2;
class TForm4;

class TScrForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TScrForm(AppPaths paths, QWidget* parent = nullptr);
  ~TScrForm() override;

  // The start once the window is shown: reads the settings file, applies the stored layout,
  // empties the stores, writes the script header and, when scriptPath names an existing file,
  // opens it and runs it as the reset button does. A file that is missing or cannot be loaded is
  // reported in the status bar and a message box.
  void startUp(const QString& scriptPath = QString());

  // Runs (as "実　行" and "標準値に戻す" do). Nothing happens while a run is going on.
  void Button2Click();
  void Button1Click();
  bool isRunning() const;
  // Waits until the running script has ended (the window keeps processing events).
  void waitForRun();

  // The text of status panel 0 or 1.
  QString statusText(int panel) const;
  void setStatusText(int panel, const QString& text);

  Engine& engine() { return *engine_; }
  Settings& settings() { return settings_; }
  const AppPaths& paths() const { return paths_; }
  LogPump& logPump() { return *logPump_; }
  QString currentFile() const { return currentFile_; }

  // Rewrites Memo1 (and the engine's header) from the line settings.
  void writeScriptHeader();
  // Loads a plain script file into the editor (".kx" path of the start and the file commands);
  // false when it cannot be read (the editor is then empty).
  bool loadPlainScript(const QString& path);
  // Loads a protected script: its lines go to the editor, which stays hidden with the log.
  bool loadProtectedScript(const QString& path);

  // File menu: new, open (".kx", ".kxp"), save as (".kx", ".kxp", ".kxt") and save.
  void MnuFileNewClick();
  void MnuFileOpenClick();
  void MnuFileSaveAsClick();
  void MnuFileSaveClick();

  // The CAD hand-over: "ACAD出力", "SU 出力", "GSU7 出力" and their settings dialogs.
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void MnuSetAcadClick();
  void MnuSetGsu6Click();
  void MnuSetGsu7Click();
  cad::CadTransfer& cadTransfer() { return *cad_; }

  // Menu commands.
  void MnuSetLineClick();
  void MnuSetElseClick();
  void MnuHelpAboutClick();
  void MnuEditUndoClick();
  void MnuEditCutClick();
  void MnuEditCopyClick();
  void MnuEditPasteClick();
  void MnuEditDeleteClick();
  void MnuEditSelectAllClick();
  void MnuEditFindClick();
  void MnuEditReplaceClick();
  // The buttons of the find and replace dialogs.
  void FindDialog1Find();
  void ReplaceDialog1Find();
  void ReplaceDialog1Replace();
  void ReplaceDialog1ReplaceAll();
  void closeSearchDialogs();
  // A parameter grid row was clicked.
  void StringGrid1Click(int row);
  // The log line holding the caret: jump to its script line (right mouse press in MemoLog).
  void MemoLogJump();

  // Hooks for the windows that join later; each is called on the user-interface thread.
  std::function<void()> onCloseViewer;             // before a run: close the viewer window
  std::function<void()> onRunFinishedWithFigures;  // after a run that left figures: show the viewer
  std::function<void()> onSettingsRead;            // at start: windows take their layout from settings()
  std::function<void()> onBeforeSettingsWrite;     // at exit: windows put their layout into settings()
  // Reload on change: the open plain script's file is watched; after a change (once the file has
  // been quiet for kReloadQuietMs) it is loaded and run when settings().reloadOnChange is set.
  static constexpr int kReloadQuietMs = 300;
  FileWatch* fileWatch() const { return fileWatch_; }

  // Message boxes: plain message, and a Yes/No question. Tests replace them.
  std::function<void(const QString&)> showMessage;
  std::function<bool(const QString&)> askYesNo;
  // A message box with the error icon. Tests replace it.
  std::function<void(const QString&)> showError;
  // The script file dialogs. chooseOpenFile gives the chosen path (empty when cancelled);
  // chooseSaveFile the path and the 1-based index of the chosen filter. Tests replace them.
  struct SaveChoice {
    QString path;
    int filter = 1;
  };
  std::function<QString(const QString& folder)> chooseOpenFile;
  std::function<SaveChoice(const QString& folder, const QString& name)> chooseSaveFile;

  // Components.
  QPushButton* Button1;  // "標準値に戻す"
  QPushButton* Button2;  // "実　行"
  QCheckBox* CheckBox1;  // "Log出力をしない"
  QPushButton* Button3;  // "ACAD出力"
  QPushButton* Button4;  // "SU 出力"
  QPushButton* Button5;  // "GSU7 出力"
  QTabWidget* PageControl1;
  QWidget* TabRun;
  QWidget* TabLog;
  QTableWidget* StringGrid1;
  QPlainTextEdit* Memo1;
  QPlainTextEdit* Memo2;
  QPlainTextEdit* MemoLog;
  QSplitter* Splitter1;  // grid | editors
  QSplitter* Splitter2;  // Memo1 / Memo2
  QLabel* StatusPanel0;
  QLabel* StatusPanel1;

  QAction *MnuFileNew, *MnuFileOpen, *MnuFileSaveAs, *MnuFileSave, *MnuFileClose;
  QAction *MnuEditUndo, *MnuEditCut, *MnuEditCopy, *MnuEditPaste, *MnuEditDelete, *MnuEditFind, *MnuEditReplace,
      *MnuEditSelectAll;
  QAction *MnuViewVars, *MnuViewData;
  QAction *MnuSetLine, *MnuSetElse, *MnuSetAcad, *MnuSetGsu6, *MnuSetGsu7;
  QAction *MnuHelpScript, *MnuHelpAbout;

  // Dialogs, created once.
  qt::TInputDlg1* InputDlg1;
  qt::TMesDlg1* MesDlg1;
  qt::TYNDlg1* YNDlg1;
  qt::TInputDlg2* InputDlg2;
  qt::TInputDlg4* InputDlg4;
  qt::TColorDlg1* ColorDlg1;
  TSetLine* SetLine;
  TSetElse* SetElse;
  TAboutBox* AboutBox;
  TFindDialog* FindDialog1;
  TReplaceDialog* ReplaceDialog1;
  TForm2* Form2;
  TForm4* Form4;
  cad::TFmSetCad* FmSetACAD;
  cad::TFmSetCad* FmSetGSU6;
  cad::TFmSetCad* FmSetGSU7;

 signals:
  // A run has ended and its results (status, grid, figure store) are in place.
  void runFinished();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void buildPanel();
  void buildPages();
  void buildMenus();
  void buildDialogs();
  void applySettingsToWindow();
  void takeSettingsFromWindow();
  void saveSettings();
  void startRun(bool reset);
  void runEnded();
  void resetGrid();
  void fillGrid();
  void setRunControlsEnabled(bool enabled);
  void showCaretLine();
  void setCaption();
  // A script named at start could not be opened: status text, message box and a note on stderr.
  void tellStartProblem(const QString& text);
  void buildCad();
  void sendToCad(int target);
  void setCadOptions(cad::TFmSetCad* dialog, int target);
  void installFileDialogs();
  void clearEditorShown();
  bool currentIsProtected() const;
  bool editorIsEmpty() const;
  void saveAs();
  bool writePlainScript(const QString& path);
  void saveProtected(const QString& path);
  void saveDistribution(const QString& path);
  void followCurrentFile();
  void openFileChanged(const QString& path);

  AppPaths paths_;
  Settings settings_;
  std::unique_ptr<GuiHost> host_;
  std::unique_ptr<Engine> engine_;
  LogPump* logPump_ = nullptr;
  ScriptHighlighter* highlighter_ = nullptr;
  QThread* worker_ = nullptr;
  std::unique_ptr<qt::ScriptDialogs> scriptDialogs_;  // the dialogs above that scripts open
  std::unique_ptr<Speech> speech_;  // created when the window is first shown, released at exit
  bool closing_ = false;
  bool startedUp_ = false;
  QString currentFile_;
  PlainScriptFormat plainFormat_;  // how the open plain script is stored
  std::unique_ptr<cad::CadTransfer> cad_;
  FileWatch* fileWatch_ = nullptr;
  QByteArray fileBytes_;  // the watched file as last seen
  QString loadedText_;    // the editor text as last loaded from or matched with the file
  bool reloadPending_ = false;
};

}  // namespace kubrix::gui
