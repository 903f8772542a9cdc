// TScrForm: construction of the window, its menus and dialogs.
#include "app/gui/scr_form.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/gui/editor_search.h"
#include "app/gui/gui_host.h"
#include "app/gui/log_pump.h"
#include "app/gui/script_file_dialogs.h"
#include "app/gui/script_highlighter.h"
#include "app/gui/settings_dialogs.h"
#include "engine/engine.h"
#include "interaction/qt/color_dlg1.h"
#include "output/cad/cad_transfer.h"
#include "interaction/qt/input_dlg1.h"
#include "interaction/qt/input_dlg2.h"
#include "interaction/qt/input_dlg4.h"
#include "interaction/qt/mes_dlg1.h"
#include "interaction/qt/script_dialogs.h"
#include "interaction/qt/yn_dlg1.h"
#include "interaction/speech.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// The log view keeps this many lines; older ones leave the view first.
constexpr int kLogViewLines = 200000;
// The engine hands its log over in blocks of about this size.
constexpr size_t kLogBlockBytes = 64 * 1024;

}  // namespace

TScrForm::TScrForm(AppPaths paths, QWidget* parent)
    : QMainWindow(parent), paths_(std::move(paths)), host_(std::make_unique<GuiHost>()),
      engine_(std::make_unique<Engine>(*host_)) {
  setObjectName("TScrForm");
  setWindowTitle("Kubrix");
  resize(1000, 700);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(central);
  buildPanel();
  buildPages();
  buildMenus();
  buildDialogs();

  StatusPanel0 = new QLabel(this);
  StatusPanel0->setObjectName("StatusPanel0");
  StatusPanel0->setFixedWidth(120);
  StatusPanel1 = new QLabel(this);
  StatusPanel1->setObjectName("StatusPanel1");
  StatusPanel1->setMinimumWidth(50);
  for (QLabel* p : {StatusPanel0, StatusPanel1}) {
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
  }
  statusBar()->setObjectName("StatusBar1");
  statusBar()->addWidget(StatusPanel0);
  statusBar()->addWidget(StatusPanel1, 1);
  statusBar()->setSizeGripEnabled(true);

  logPump_ = new LogPump(MemoLog, kLogViewLines, this);
  engine_->log.setSinkThreshold(kLogBlockBytes);
  engine_->log.setSink([pump = logPump_](std::string_view block) { pump->push(block); });
  connect(host_.get(), &GuiHost::statusText, this, [this](int panel, const QString& text) {
    if (worker_) setStatusText(panel, text);
  });

  showMessage = [this](const QString& text) { QMessageBox::information(this, "Kubrix", text); };
  askYesNo = [this](const QString& text) {
    return QMessageBox::question(this, u("確認"), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
  };
  showError = [this](const QString& text) { QMessageBox::critical(this, "Kubrix", text); };
  writeScriptHeader();
  // The line indicator and the jump from the log watch these (installed once every part exists).
  Memo2->installEventFilter(this);
  Memo2->viewport()->installEventFilter(this);
  MemoLog->viewport()->installEventFilter(this);
}

TScrForm::~TScrForm() {
  if (worker_) {
    host_->abortDialogs();
    worker_->wait();
  }
  host_->setDialogs(nullptr);
  host_->setSpeech(nullptr);
}

void TScrForm::buildPanel() {
  auto* panel = new QWidget(centralWidget());
  panel->setObjectName("Panel1");
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(6, 4, 6, 4);
  Button1 = new QPushButton(u("標準値に戻す"), panel);
  Button2 = new QPushButton(u("実　行"), panel);
  CheckBox1 = new QCheckBox(u("Log出力をしない"), panel);
  Button3 = new QPushButton(u("ACAD出力"), panel);
  Button4 = new QPushButton(u("SU 出力"), panel);
  Button5 = new QPushButton(u("GSU7 出力"), panel);
  const std::array<std::pair<QWidget*, const char*>, 6> named = {
      {{Button1, "Button1"}, {Button2, "Button2"}, {CheckBox1, "CheckBox1"}, {Button3, "Button3"}, {Button4, "Button4"},
       {Button5, "Button5"}}};
  for (const auto& [w, name] : named) w->setObjectName(name);
  for (QPushButton* b : {Button1, Button2, Button3, Button4, Button5})
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 28);
  row->addWidget(Button1);
  row->addWidget(Button2);
  row->addSpacing(12);
  row->addWidget(CheckBox1);
  row->addSpacing(24);
  row->addWidget(Button3);
  row->addWidget(Button4);
  row->addWidget(Button5);
  row->addStretch(1);
  static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(panel);
  connect(Button1, &QPushButton::clicked, this, &TScrForm::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TScrForm::Button2Click);
  connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
    engine_->logOff = on;
    settings_.logOff = on;
  });
}

void TScrForm::buildPages() {
  // A fixed-pitch font that holds the Japanese characters too, so that every line has the same
  // height and the log's line numbers stay aligned.
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (const char* family : {"Noto Sans Mono CJK JP", "Noto Sans Mono CJK SC", "IPAGothic", "VL Gothic"}) {
    if (QFontDatabase::families().contains(family)) {
      fixed = QFont(family, fixed.pointSize());
      fixed.setStyleHint(QFont::Monospace);
      break;
    }
  }
  PageControl1 = new QTabWidget(centralWidget());
  PageControl1->setObjectName("PageControl1");
  PageControl1->setTabPosition(QTabWidget::South);
  TabRun = new QWidget(PageControl1);
  TabRun->setObjectName("TabRun");
  TabLog = new QWidget(PageControl1);
  TabLog->setObjectName("TabLog");
  PageControl1->addTab(TabRun, "Run");
  PageControl1->addTab(TabLog, "Log");

  StringGrid1 = new QTableWidget(1, 3, TabRun);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setHorizontalHeaderLabels({u("諸元名"), u("変数名"), u("変数値")});
  StringGrid1->verticalHeader()->setVisible(false);
  StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 6);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  StringGrid1->horizontalHeader()->setStretchLastSection(false);
  StringGrid1->setColumnWidth(0, 110);
  StringGrid1->setColumnWidth(1, 80);
  StringGrid1->setColumnWidth(2, 90);
  connect(StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int) { StringGrid1Click(row); });

  Memo1 = new QPlainTextEdit(TabRun);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setFont(fixed);
  QPalette info = Memo1->palette();
  info.setColor(QPalette::Base, info.color(QPalette::ToolTipBase));
  info.setColor(QPalette::Text, info.color(QPalette::ToolTipText));
  Memo1->setPalette(info);

  Memo2 = new QPlainTextEdit(TabRun);
  Memo2->setObjectName("Memo2");
  Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo2->setTabChangesFocus(false);
  Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo2->setFont(fixed);
  Memo2->setTabStopDistance(QFontMetricsF(fixed).horizontalAdvance(' ') * 4);
  highlighter_ = new ScriptHighlighter(Memo2->document());

  Splitter2 = new QSplitter(Qt::Vertical, TabRun);
  Splitter2->setObjectName("Splitter2");
  Splitter2->addWidget(Memo1);
  Splitter2->addWidget(Memo2);
  Splitter2->setStretchFactor(0, 0);
  Splitter2->setStretchFactor(1, 1);
  Splitter2->setSizes({110, 500});
  Splitter2->setChildrenCollapsible(false);

  Splitter1 = new QSplitter(Qt::Horizontal, TabRun);
  Splitter1->setObjectName("Splitter1");
  Splitter1->addWidget(StringGrid1);
  Splitter1->addWidget(Splitter2);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({300, 700});
  Splitter1->setChildrenCollapsible(false);
  auto* runLayout = new QVBoxLayout(TabRun);
  runLayout->setContentsMargins(2, 2, 2, 2);
  runLayout->addWidget(Splitter1);

  MemoLog = new QPlainTextEdit(TabLog);
  MemoLog->setObjectName("MemoLog");
  MemoLog->setReadOnly(true);
  MemoLog->setUndoRedoEnabled(false);
  MemoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoLog->setFont(fixed);
  MemoLog->setContextMenuPolicy(Qt::NoContextMenu);
  auto* logLayout = new QVBoxLayout(TabLog);
  logLayout->setContentsMargins(2, 2, 2, 2);
  logLayout->addWidget(MemoLog);

  static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(PageControl1, 1);
}

void TScrForm::buildMenus() {
  auto item = [this](QMenu* menu, const char* name, const char* text, auto slot) {
    QAction* a = menu->addAction(u(text));
    a->setObjectName(name);
    if constexpr (!std::is_same_v<decltype(slot), std::nullptr_t>) connect(a, &QAction::triggered, this, slot);
    else a->setEnabled(false);  // the command joins later
    return a;
  };
  QMenu* file = menuBar()->addMenu(u("ファイル(&F)"));
  file->setObjectName("MnuFile");
  MnuFileNew = item(file, "MnuFileNew", "新規作成(&N)", &TScrForm::MnuFileNewClick);
  MnuFileOpen = item(file, "MnuFileOpen", "開く(&O)...", &TScrForm::MnuFileOpenClick);
  MnuFileSaveAs = item(file, "MnuFileSaveAs", "名前を付けて保存(&A)...", &TScrForm::MnuFileSaveAsClick);
  MnuFileSave = item(file, "MnuFileSave", "上書き保存(&S)", &TScrForm::MnuFileSaveClick);
  file->addSeparator();
  MnuFileClose = item(file, "MnuFileClose", "閉じる(&C)", &QWidget::close);

  QMenu* edit = menuBar()->addMenu(u("編集(&E)"));
  edit->setObjectName("MnuEdit");
  MnuEditUndo = item(edit, "MnuEditUndo", "元に戻す(&U)", &TScrForm::MnuEditUndoClick);
  MnuEditCut = item(edit, "MnuEditCut", "切り取り(&T)", &TScrForm::MnuEditCutClick);
  MnuEditCopy = item(edit, "MnuEditCopy", "コピー(&C)", &TScrForm::MnuEditCopyClick);
  MnuEditPaste = item(edit, "MnuEditPaste", "貼り付け(&P)", &TScrForm::MnuEditPasteClick);
  MnuEditDelete = item(edit, "MnuEditDelete", "削除(&L)", &TScrForm::MnuEditDeleteClick);
  MnuEditFind = item(edit, "MnuEditFind", "検索(&F)...", &TScrForm::MnuEditFindClick);
  MnuEditFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  MnuEditReplace = item(edit, "MnuEditReplace", "置換(&R)...", &TScrForm::MnuEditReplaceClick);
  MnuEditReplace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  MnuEditSelectAll = item(edit, "MnuEditSelectAll", "すべて選択(&A)", &TScrForm::MnuEditSelectAllClick);

  QMenu* view = menuBar()->addMenu(u("表示(&V)"));
  view->setObjectName("MnuView");
  MnuViewVars = item(view, "MnuViewVars", "変数表(&V)", nullptr);
  MnuViewData = item(view, "MnuViewData", "データ表(&D)", nullptr);

  QMenu* set = menuBar()->addMenu(u("設定(&S)"));
  set->setObjectName("MnuSet");
  MnuSetLine = item(set, "MnuSetLine", "線設定(&L)...", &TScrForm::MnuSetLineClick);
  MnuSetElse = item(set, "MnuSetElse", "その他の設定(&E)...", &TScrForm::MnuSetElseClick);
  set->addSeparator();
  MnuSetAcad = item(set, "MnuSetAcad", "AutoCAD出力設定(&A)...", &TScrForm::MnuSetAcadClick);
  MnuSetGsu6 = item(set, "MnuSetGsu6", "SketchUp6出力設定(&G)...", &TScrForm::MnuSetGsu6Click);
  MnuSetGsu7 = item(set, "MnuSetGsu7", "SketchUp7出力設定(&7)...", &TScrForm::MnuSetGsu7Click);

  QMenu* help = menuBar()->addMenu(u("ヘルプ(&H)"));
  help->setObjectName("MnuHelp");
  MnuHelpScript = item(help, "MnuHelpScript", "スクリプト仕様について(&S)...", nullptr);
  MnuHelpAbout = item(help, "MnuHelpAbout", "このアプリケーションについて(&A)...", &TScrForm::MnuHelpAboutClick);
}

void TScrForm::buildDialogs() {
  // Created once, in the order of the program start, and reused.
  InputDlg1 = new qt::TInputDlg1(this);
  MesDlg1 = new qt::TMesDlg1(this);
  InputDlg4 = new qt::TInputDlg4(this);
  YNDlg1 = new qt::TYNDlg1(this);
  ColorDlg1 = new qt::TColorDlg1(this);
  InputDlg2 = new qt::TInputDlg2(this);
  scriptDialogs_ = std::make_unique<qt::ScriptDialogs>(InputDlg1, MesDlg1, InputDlg4, YNDlg1, ColorDlg1, InputDlg2);
  host_->setDialogs(scriptDialogs_.get());
  SetLine = new TSetLine(ColorDlg1, this);
  SetElse = new TSetElse(this);
  AboutBox = new TAboutBox(this);
  FindDialog1 = new TFindDialog(this);
  ReplaceDialog1 = new TReplaceDialog(this);
  Form2 = new TForm2(this);
  Form4 = new TForm4(this);
  installFileDialogs();
  buildCad();
  connect(FindDialog1, &TFindDialog::findNext, this, &TScrForm::FindDialog1Find);
  connect(ReplaceDialog1, &TReplaceDialog::findNext, this, &TScrForm::ReplaceDialog1Find);
  connect(ReplaceDialog1, &TReplaceDialog::replace, this, &TScrForm::ReplaceDialog1Replace);
  connect(ReplaceDialog1, &TReplaceDialog::replaceAll, this, &TScrForm::ReplaceDialog1ReplaceAll);
}

QString TScrForm::statusText(int panel) const { return panel == 0 ? StatusPanel0->text() : StatusPanel1->text(); }

void TScrForm::setStatusText(int panel, const QString& text) {
  (panel == 0 ? StatusPanel0 : StatusPanel1)->setText(text);
}

void TScrForm::setCaption() {
  setWindowTitle(currentFile_.isEmpty() ? QString("Kubrix") : "Kubrix - " + currentFile_);
  followCurrentFile();  // the caption names the open file: the file watch follows it
}

void TScrForm::MnuSetElseClick() {
  setStatusText(1, u("その他の設定を行います。"));
  SetElse->execute(settings_);
}

void TScrForm::MnuHelpAboutClick() { AboutBox->exec(); }

}  // namespace kubrix::gui
