// The secondary windows of the desktop program — the 3D viewer, the variable table, the data table
// and the help window — created once and joined to the main window: the viewer closes before every
// run and opens after a run that left figures, the View and Help menus show the tables and the help,
// and the windows' places and column widths travel with the main window's settings.
#pragma once

#include <QList>
#include <memory>
#include <optional>

#include "app/windows/fm_help.h"
#include "app/windows/fm_hyo1.h"
#include "app/windows/fm_hyo2.h"
#include "output/viewer/scr_screen.h"

namespace kubrix::gui {

class TScrForm;

class DesktopWindows {
 public:
  // Creates the windows and connects them to form's hooks and menu items.
  explicit DesktopWindows(TScrForm& form);
  ~DesktopWindows();

  TScrScreen& viewer() { return *viewer_; }
  TFmHyo1& variableTable() { return *varTable_; }
  TFmHyo2& dataTable() { return *dataTable_; }
  TFmHelp& help() { return *help_; }

 private:
  void loadLayout();
  void saveLayout();
  // A window without a stored place opens over the editor the first time, not at the screen's
  // corner on top of the main window's menus and buttons.
  void placeOnFirstShow(QWidget* window);
  void moveOverEditor(QWidget* window);
  // After a run the tables that are open show its results.
  void refreshOpenTables();

  TScrForm& form_;
  std::unique_ptr<TScrScreen> viewer_;
  std::unique_ptr<TFmHyo1> varTable_;
  std::unique_ptr<TFmHyo2> dataTable_;
  std::unique_ptr<TFmHelp> help_;
  QList<QWidget*> unplaced_;
  std::optional<QString> statusBeforeLists_;  // the run's status text while the viewer's lists are counted
};

}  // namespace kubrix::gui
