// Joining the viewer, the tables and the help window to the main window.
#include "app/gui/desktop_windows.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QScreen>
#include <array>

#include "app/gui/scr_form.h"
#include "app/gui/window_place.h"
#include "app/windows/table_texts.h"
#include "app/windows/window_layout.h"
#include "engine/engine.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/dialog_parts.h"
#include "output/export/export.h"

namespace kubrix::gui {

DesktopWindows::DesktopWindows(TScrForm& form)
    : form_(form),
      viewer_(std::make_unique<TScrScreen>()),
      varTable_(std::make_unique<TFmHyo1>()),
      dataTable_(std::make_unique<TFmHyo2>()),
      help_(std::make_unique<TFmHelp>()) {
  unplaced_ = {viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()};  // until the settings say otherwise
  viewer_->setExportWriter(&writeExport);
  viewer_->ui().beep = &qt::beep;

  // The tables read the stores only between runs; during a run they keep what they show.
  Engine& engine = form.engine();
  varTable_->setSource([&form, &engine](VariableTableSnapshot& snapshot) {
    if (form.isRunning()) return false;
    snapshot = makeVariableTableSnapshot(engine.vars, engine.lists);
    return true;
  });
  dataTable_->setSource([&form, &engine](DataTableSnapshot& snapshot) {
    if (form.isRunning()) return false;
    snapshot = makeDataTableSnapshot(engine.figures, {});
    return true;
  });

  form.onCloseViewer = [this] { viewer_->close(); };
  form.onRunFinishedWithFigures = [this, &engine] {
    placeOnFirstShow(viewer_.get());
    viewer_->openAfterRun(engine.figures);
  };
  QObject::connect(&form, &TScrForm::runFinished, varTable_.get(), [this] { refreshOpenTables(); });
  // A large store takes a while to compile for the viewer: the status bar counts it, and Escape
  // leaves the viewer closed for this run.
  QObject::connect(viewer_.get(), &TScrScreen::listsProgress, &form, [this](qint64 done, qint64 total) {
    if (!statusBeforeLists_) statusBeforeLists_ = form_.statusText(1);
    const qint64 percent = total > 0 ? done * 100 / total : 0;
    form_.setStatusText(1, QString::fromUtf8("表示データを作成中です。%1%（[ESC]：表示しない）").arg(percent));
  });
  QObject::connect(viewer_.get(), &TScrScreen::listsEnded, &form, [this](bool shown) {
    form_.setStatusText(1, shown ? statusBeforeLists_.value_or(QString()) : QString::fromUtf8("3D表示を中止しました。"));
    statusBeforeLists_.reset();
  });
  form.onSettingsRead = [this] { loadLayout(); };
  form.onBeforeSettingsWrite = [this] {
    // The program is closing: the windows give their layout, then close with it.
    saveLayout();
    for (QWidget* w : std::initializer_list<QWidget*>{viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()})
      w->close();
  };

  form.MnuViewVars->setEnabled(true);
  QObject::connect(form.MnuViewVars, &QAction::triggered, varTable_.get(), [this] {
    placeOnFirstShow(varTable_.get());
    varTable_->show();
    varTable_->raise();
    varTable_->refresh();
  });
  form.MnuViewData->setEnabled(true);
  QObject::connect(form.MnuViewData, &QAction::triggered, dataTable_.get(), [this] {
    placeOnFirstShow(dataTable_.get());
    dataTable_->show();
    dataTable_->raise();
    dataTable_->refresh();
  });
  form.MnuHelpScript->setEnabled(true);
  QObject::connect(form.MnuHelpScript, &QAction::triggered, help_.get(), [this] {
    placeOnFirstShow(help_.get());
    help_->show();
    help_->raise();
  });
}

DesktopWindows::~DesktopWindows() {
  form_.onCloseViewer = nullptr;
  form_.onRunFinishedWithFigures = nullptr;
  form_.onSettingsRead = nullptr;
  form_.onBeforeSettingsWrite = nullptr;
}

// The main window has read the settings file into its Settings; the layout keys of these windows
// are handed over through a settings file image, the form both sides read and write.
void DesktopWindows::loadLayout() {
  IniFile image;
  form_.settings().write(image);
  unplaced_.clear();
  const std::array<QWidget*, 4> windows = {viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()};
  for (size_t i = 0; i < windows.size(); ++i) {
    const WindowPlace& place = form_.settings().forms[i + 1];  // F2 to F5
    if (!place.x || !place.y) unplaced_ << windows[i];
  }
  loadWindowLayout(image, {viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()});
  viewer_->setSaveFolder(qt::fromSjis(form_.settings().saveFolder));
}

void DesktopWindows::saveLayout() {
  // A window never shown has no place of its own yet: store the place it would first open at, over
  // the editor, rather than the top-left corner of the screen where the next start would then put it.
  for (QWidget* window : std::as_const(unplaced_)) moveOverEditor(window);
  IniFile image;
  saveWindowLayout(image, {viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()});
  form_.settings().read(image);
  form_.settings().saveFolder = qt::toSjis(viewer_->saveFolder());
}

void DesktopWindows::placeOnFirstShow(QWidget* window) {
  if (!unplaced_.removeOne(window) || window->isVisible()) return;
  moveOverEditor(window);
}

void DesktopWindows::moveOverEditor(QWidget* window) {
  QScreen* screen = form_.screen();
  if (!screen) return;
  const QRect editor(form_.Memo2->mapToGlobal(QPoint(0, 0)), form_.Memo2->size());
  // A window not yet shown has no frame: take the main window's frame as the measure.
  const QSize frame = window->size() + (form_.frameGeometry().size() - form_.size());
  window->move(placeOver(editor, frame, screen->availableGeometry()).topLeft());
}

void DesktopWindows::refreshOpenTables() {
  if (varTable_->isVisible()) varTable_->refresh();
  if (dataTable_->isVisible()) dataTable_->refresh();
}

}  // namespace kubrix::gui
