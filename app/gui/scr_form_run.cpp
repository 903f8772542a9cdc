// TScrForm: the run and reset buttons, the run on a worker thread, and the parameter grid.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/gui/gui_host.h"
#include "app/gui/log_pump.h"
#include "app/gui/scr_form.h"
#include "engine/engine.h"
#include "engine/number_text.h"
#include "interaction/qt/beep.h"
#include "interaction/qt/color_dlg1.h"
#include "interaction/qt/dialog_parts.h"
#include "interaction/qt/input_dlg1.h"
#include "interaction/qt/input_dlg2.h"
#include "interaction/qt/input_dlg4.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// The run empties the figure store; a store of millions of elements first gives its memory back to
// the system: the vector's capacity, and the heap pages that it and the viewer's lists left free.
void releaseFigureMemory(Engine& engine) {
  if (engine.figures.elements().capacity() == 0) return;
  engine.figures = FigureStore{};
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace

void TScrForm::Button2Click() { startRun(false); }

void TScrForm::Button1Click() { startRun(true); }

bool TScrForm::isRunning() const { return worker_ != nullptr; }

void TScrForm::setRunControlsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, CheckBox1, Button3, Button4, Button5})
    w->setEnabled(enabled);
  MnuSetLine->setEnabled(enabled);
}

void TScrForm::startRun(bool reset) {
  if (worker_) return;
  closeSearchDialogs();
  if (onCloseViewer) onCloseViewer();
  releaseFigureMemory(*engine_);
  if (reset) engine_->clearStores();
  PageControl1->setCurrentWidget(TabRun);
  // The engine repeats these at its start; setting them here shows them before the first line runs.
  setStatusText(0, QString());
  setStatusText(1, u("スクリプト実行中です。（[ESC]：中断）"));
  statusBar()->repaint();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  logPump_->clear();
  resetGrid();
  engine_->setBody(qt::toSjis(Memo2->toPlainText()));
  engine_->logOff = CheckBox1->isChecked();
  host_->escape = false;
  host_->setScriptPath(currentFile_);
  setRunControlsEnabled(false);
  qApp->installEventFilter(this);  // Escape ends the walk whichever widget has the focus
  worker_ = QThread::create([engine = engine_.get()] { engine->run(); });
  worker_->setObjectName("kubrix-run");
  connect(worker_, &QThread::finished, this, &TScrForm::runEnded, Qt::QueuedConnection);
  worker_->start();
}

void TScrForm::runEnded() {
  if (!worker_) return;
  worker_->wait();
  worker_->deleteLater();
  worker_ = nullptr;
  qApp->removeEventFilter(this);
  setStatusText(0, qt::fromSjis(engine_->status(0)));
  setStatusText(1, qt::fromSjis(engine_->status(1)));
  fillGrid();
  QApplication::restoreOverrideCursor();
  setRunControlsEnabled(true);
  if (!closing_) {
    if (engine_->figures.count() > 0) {
      if (onRunFinishedWithFigures) onRunFinishedWithFigures();
    } else {
      qt::beep();
    }
  }
  emit runFinished();
}

void TScrForm::resetGrid() {
  StringGrid1->clearContents();
  StringGrid1->setRowCount(1);
  for (int c = 0; c < 3; ++c) StringGrid1->setItem(0, c, new QTableWidgetItem);
}

void TScrForm::fillGrid() {
  const auto& rows = engine_->grid();
  if (rows.empty()) return;
  StringGrid1->setRowCount(static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r) {
    const int row = static_cast<int>(r);
    StringGrid1->setItem(row, 0, new QTableWidgetItem(qt::fromSjis(rows[r].caption)));
    StringGrid1->setItem(row, 1, new QTableWidgetItem(qt::fromSjis(rows[r].name)));
    StringGrid1->setItem(row, 2, new QTableWidgetItem(qt::fromSjis(rows[r].shown)));
  }
}

void TScrForm::StringGrid1Click(int row) {
  if (worker_ || row < 0 || row >= StringGrid1->rowCount()) return;
  auto cell = [this](int r, int c) {
    const QTableWidgetItem* item = StringGrid1->item(r, c);
    return item ? item->text() : QString();
  };
  if (cell(0, 0).isEmpty()) return;
  const QString caption = cell(row, 0);
  if (!caption.startsWith('*')) return;
  const std::string name = qt::toSjis(cell(row, 1));
  QString value = cell(row, 2);
  if (value == "---") value = "0";
  const int var = engine_->vars.find(name);
  if (var < 0) return;
  const int list = engine_->lists.find(name);
  bool confirmed = false;
  QString text = value;
  if (list < 0) {
    if (caption.contains(u("公差"))) {
      confirmed = InputDlg1->ask(u("文字入力"), caption, text, 10);
    } else if (caption.contains(u("文字"))) {
      confirmed = InputDlg1->ask(u("文字入力"), caption, text, 255);
    } else if (caption.contains(u("線色")) || caption.contains(u("ACAD色"))) {
      int32_t index = 0;
      if (!parseInt32(qt::toSjis(value), index)) index = 0;
      ColorDlg1->colourIndex = index;
      confirmed = ColorDlg1->execute();
      text = QString::number(ColorDlg1->colourIndex);
    } else {
      confirmed = InputDlg1->ask(u("数値入力"), caption, text, 32);
    }
  } else {
    QStringList items;
    for (const std::string& e : engine_->lists.at(static_cast<size_t>(list)).elements) items << qt::fromSjis(e);
    if (caption.contains(u("公差"))) {
      InputDlg4->rowCount = 1;
      InputDlg4->rows[0] = qt::TInputDlg4::Row{3, caption, value, items};
      confirmed = InputDlg4->execute();
      text = InputDlg4->rows[0].value;
    } else {
      InputDlg2->promptText = caption;
      InputDlg2->items = items;
      InputDlg2->chosenText = value;
      confirmed = InputDlg2->execute();
      text = InputDlg2->chosenText;
    }
  }
  if (!confirmed) return;
  std::string reason;
  if (!engine_->editParameter(var, qt::toSjis(text), reason)) return;  // not a number: ignored
  StringGrid1->setItem(row, 2, new QTableWidgetItem(qt::fromSjis(engine_->vars.value(static_cast<size_t>(var)))));
}

}  // namespace kubrix::gui
