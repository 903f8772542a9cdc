// Joining the viewer, the tables and the help window to the main window.
#include "app/gui/desktop_windows.h"

#include <QAction>

#include "app/gui/scr_form.h"
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
  form.onRunFinishedWithFigures = [this, &engine] { viewer_->openAfterRun(engine.figures); };
  form.onSettingsRead = [this] { loadLayout(); };
  form.onBeforeSettingsWrite = [this] {
    // The program is closing: the windows give their layout, then close with it.
    saveLayout();
    for (QWidget* w : std::initializer_list<QWidget*>{viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()})
      w->close();
  };

  form.MnuViewVars->setEnabled(true);
  QObject::connect(form.MnuViewVars, &QAction::triggered, varTable_.get(), [this] {
    varTable_->show();
    varTable_->raise();
    varTable_->refresh();
  });
  form.MnuViewData->setEnabled(true);
  QObject::connect(form.MnuViewData, &QAction::triggered, dataTable_.get(), [this] {
    dataTable_->show();
    dataTable_->raise();
    dataTable_->refresh();
  });
  form.MnuHelpScript->setEnabled(true);
  QObject::connect(form.MnuHelpScript, &QAction::triggered, help_.get(), [this] {
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
  loadWindowLayout(image, {viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()});
  viewer_->setSaveFolder(qt::fromSjis(form_.settings().saveFolder));
}

void DesktopWindows::saveLayout() {
  IniFile image;
  saveWindowLayout(image, {viewer_.get(), varTable_.get(), dataTable_.get(), help_.get()});
  form_.settings().read(image);
  form_.settings().saveFolder = qt::toSjis(viewer_->saveFolder());
}

}  // namespace kubrix::gui
