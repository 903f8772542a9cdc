// The variable table, the data table, the help window and the stored window layout, shown on the
// offscreen platform.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/windows/fm_help.h"
#include "app/windows/fm_hyo1.h"
#include "app/windows/fm_hyo2.h"
#include "app/windows/window_layout.h"
#include "engine/sjis.h"
#include "output/viewer/scr_screen.h"

namespace kubrix {
namespace {

// With KUBRIX_SCREENSHOT_DIR set, a picture of the window for a look by eye.
void keep(QWidget& w, const char* name) {
  const QString dir = qEnvironmentVariable("KUBRIX_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  w.grab().save(dir + "/" + name + ".png");
}

QString cell(const QTableWidget* g, int row, int col) {
  const QTableWidgetItem* item = g->item(row, col);
  return item ? item->text() : QString();
}

QString cell(const QTableView* v, int row, int col) { return v->model()->index(row, col).data().toString(); }

TEST(VariableTable, ListsVariablesAndTheListOfTheChosenName) {
  VarStore vars;
  ListStore lists;
  vars.add(utf8ToSjis("*直径"), "d", "10");
  vars.add("", "sz", "M8");
  vars.add("", "n", "");
  lists.add("sz", {"M6", "M8", utf8ToSjis("M10,細目")});
  lists.add("n", {});
  lists.add("sz", {"other"});  // a later list of the same name is not the one shown

  TFmHyo1 w;
  w.setStores(&vars, &lists);
  w.show();
  EXPECT_EQ(w.windowTitle(), "変数表");
  ASSERT_EQ(w.StringGrid1->rowCount(), 3);
  EXPECT_EQ(w.StringGrid1->horizontalHeaderItem(0)->text(), "諸元名");
  EXPECT_EQ(w.StringGrid1->horizontalHeaderItem(2)->text(), "変数値");
  EXPECT_EQ(cell(w.StringGrid1, 0, 0), "*直径");
  EXPECT_EQ(cell(w.StringGrid1, 0, 1), "d");
  EXPECT_EQ(cell(w.StringGrid1, 0, 2), "10");
  // The first row is chosen on show; "d" is no list: one empty row.
  EXPECT_EQ(w.StringGrid1->currentRow(), 0);
  EXPECT_EQ(w.StringGrid2->rowCount(), 1);
  EXPECT_EQ(cell(w.StringGrid2, 0, 1), "");

  w.variableRowClicked(1);
  keep(w, "variable_table");
  ASSERT_EQ(w.StringGrid2->rowCount(), 3);
  // The element column lies whole in the right grid.
  const QTableWidget* g2 = w.StringGrid2;
  EXPECT_LE(g2->columnViewportPosition(1) + g2->columnWidth(1), g2->viewport()->width());
  EXPECT_GE(g2->columnWidth(1), g2->fontMetrics().horizontalAdvance("M10,細目"));
  EXPECT_EQ(cell(w.StringGrid2, 0, 0), "1");
  EXPECT_EQ(cell(w.StringGrid2, 2, 0), "3");
  EXPECT_EQ(cell(w.StringGrid2, 2, 1), "M10,細目");

  // Choosing a row by keyboard or mouse does the same.
  w.StringGrid1->setCurrentCell(2, 0);
  EXPECT_EQ(w.StringGrid2->rowCount(), 1);  // an empty list
  w.StringGrid1->setCurrentCell(1, 1);
  EXPECT_EQ(w.StringGrid2->rowCount(), 3);

  // "更新" takes a new snapshot; until then the table keeps the old one.
  vars.setValue(0, "20");
  EXPECT_EQ(cell(w.StringGrid1, 0, 2), "10");
  w.Panel1->click();
  EXPECT_EQ(cell(w.StringGrid1, 0, 2), "20");
  EXPECT_EQ(w.StringGrid2->rowCount(), 1);  // back on the first row

  vars.clear();
  w.Panel1->click();
  EXPECT_EQ(w.StringGrid1->rowCount(), 1);  // a single empty row
  EXPECT_EQ(cell(w.StringGrid1, 0, 1), "");
}

TEST(DataTable, ListsTheFirst32765ElementsAndCountsAll) {
  FigureStore fs;
  for (int i = 0; i < 40000; ++i) {
    if (i % 4 == 0) fs.appendLine({0, 0, 0}, {static_cast<double>(i + 1), 0, 0});
    else if (i % 4 == 1) fs.appendPoint({static_cast<double>(i), 0.5, 0});
    else if (i % 4 == 2) fs.appendTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, static_cast<double>(i)});
    else fs.appendQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, static_cast<double>(i)});
  }
  ASSERT_EQ(fs.count(), 40000u);
  for (size_t n = 39001; n <= 40000; ++n) fs.at(n).live = false;  // beyond the listed rows
  fs.at(2).live = false;
  std::vector<long long> selection;
  for (long long n = 1; n <= 21; ++n) selection.push_back(n * 2);

  TFmHyo2 w;
  w.setStore(&fs, [&] { return selection; });
  w.show();
  EXPECT_EQ(w.windowTitle(), "データ表");
  keep(w, "data_table");
  ASSERT_EQ(w.StringGrid1->model()->rowCount(), 32765);
  ASSERT_EQ(w.StringGrid1->model()->columnCount(), 17);
  EXPECT_EQ(w.StringGrid1->model()->headerData(16, Qt::Horizontal).toString(), "P4Z");
  EXPECT_EQ(cell(w.StringGrid1, 0, 2), "直線");
  EXPECT_EQ(cell(w.StringGrid1, 1, 1), "－");
  EXPECT_EQ(cell(w.StringGrid1, 1, 5), "1");
  EXPECT_EQ(cell(w.StringGrid1, 1, 6), "0.5");
  EXPECT_EQ(cell(w.StringGrid1, 32764, 0), "32765");
  EXPECT_EQ(cell(w.StringGrid1, 32764, 2), "直線");  // element 32765: the line to (32765, 0, 0)
  EXPECT_EQ(cell(w.StringGrid1, 32764, 8), "32765");
  EXPECT_EQ(w.statusText(),
            "直線 9750，点 9749，三角面 9750，四角面 9750，？ 0　　削除データ含（直線 10000，点 10000，三角面 10000，四角面 10000，？ 0）");
  const QStringList memo = w.Memo1->toPlainText().split('\n');
  ASSERT_EQ(memo.size(), 3);
  EXPECT_EQ(memo[0], "選択図形要素数：21");
  EXPECT_TRUE(memo[1].startsWith("{2,4,6,"));
  EXPECT_TRUE(memo[1].endsWith(",40,"));
  EXPECT_EQ(memo[2], "42}");
  EXPECT_TRUE(w.Memo1->isReadOnly());
  EXPECT_EQ(w.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);

  // A source that declines (a run is going on) keeps what is shown.
  w.setSource([](DataTableSnapshot&) { return false; });
  w.refresh();
  EXPECT_EQ(w.StringGrid1->model()->rowCount(), 32765);
  fs.clear();
  w.setStore(&fs);
  w.Panel1->click();
  EXPECT_EQ(w.StringGrid1->model()->rowCount(), 0);
  EXPECT_EQ(w.Memo1->toPlainText(), "選択図形要素数：0");
}

class HelpWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath("help.txt");
    const std::string text = utf8ToSjis(
        "先頭の説明\r\n★変数\r\n変数の章 line\r\n★作図命令\r\nLINE と line と Line\r\n"
        "＜変換マトリックス関連命令＞\r\n＜３Ｄ図形作図命令＞\r\n＜図形取得関連命令＞\r\n"
        "＜入力関連命令＞\r\n＜数値計算関連＞\r\n末尾\r\n");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), static_cast<qint64>(text.size()));
  }
  QTemporaryDir dir;
  QString path;
};

TEST_F(HelpWindow, ChapterButtonsSelectTheirHeadings) {
  TFmHelp w;
  w.setHelpPath(path);
  w.show();
  EXPECT_EQ(w.windowTitle(), "スクリプト仕様について");
  const QString text = w.RichEdit1->toPlainText();
  ASSERT_TRUE(text.startsWith("先頭の説明"));
  EXPECT_TRUE(w.RichEdit1->isReadOnly());
  for (size_t i = 0; i < kHelpChapters.size(); ++i) {
    w.ChapterButtons[i]->click();
    if (i == 1) keep(w, "help_window");
    EXPECT_EQ(w.RichEdit1->textCursor().selectedText(), QString::fromUtf8(kHelpChapters[i].heading)) << i;
    EXPECT_EQ(w.RichEdit1->textCursor().selectionStart(), text.indexOf(QString::fromUtf8(kHelpChapters[i].heading)));
  }
  EXPECT_EQ(w.ChapterButtons[2]->text(), "変換ﾏﾄﾘｯｸｽ(&T)");
  w.ButtonTop->click();
  EXPECT_EQ(w.RichEdit1->textCursor().position(), 0);
  EXPECT_FALSE(w.RichEdit1->textCursor().hasSelection());
}

TEST_F(HelpWindow, KeywordSearchStepsThroughOccurrencesIgnoringCase) {
  TFmHelp w;
  w.setHelpPath(path);
  w.show();
  const QString text = w.RichEdit1->toPlainText();
  w.Edit1->setText("LINE");
  QTest::keyClick(w.Edit1, Qt::Key_Return);  // Enter searches
  const int first = text.indexOf("line");
  EXPECT_EQ(w.RichEdit1->textCursor().selectionStart(), first);
  w.ButtonSearch->click();
  EXPECT_EQ(w.RichEdit1->textCursor().selectionStart(), text.indexOf("LINE"));
  EXPECT_EQ(w.RichEdit1->textCursor().selectedText(), "LINE");
  w.ButtonSearch->click();
  EXPECT_EQ(w.RichEdit1->textCursor().selectionStart(), text.indexOf("line", text.indexOf("LINE")));
  w.ButtonSearch->click();
  EXPECT_EQ(w.RichEdit1->textCursor().selectedText(), "Line");
  // No further occurrence: nothing changes.
  const int at = w.RichEdit1->textCursor().selectionStart();
  EXPECT_FALSE(w.searchKeyword());
  EXPECT_EQ(w.RichEdit1->textCursor().selectionStart(), at);
  EXPECT_EQ(w.RichEdit1->textCursor().selectedText(), "Line");
  w.Edit1->clear();
  EXPECT_FALSE(w.searchKeyword());
}

TEST_F(HelpWindow, MissingFileLeavesTheWindowEmptyAndClosingEmptiesIt) {
  TFmHelp w;
  w.setHelpPath(dir.filePath("none.txt"));
  w.show();
  EXPECT_TRUE(w.RichEdit1->toPlainText().isEmpty());
  // The window says why it is empty, naming the file.
  const QString missing = "ヘルプファイル「" + QDir::toNativeSeparators(dir.filePath("none.txt")) + "」が見つかりません。";
  EXPECT_EQ(w.StatusBar1->currentMessage(), missing);
  EXPECT_EQ(w.RichEdit1->placeholderText(), missing);
  keep(w, "help_window_missing");
  for (QPushButton* b : w.ChapterButtons) b->click();
  EXPECT_FALSE(w.RichEdit1->textCursor().hasSelection());
  w.close();
  // A folder in its place cannot be read.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
  w.setHelpPath(dir.filePath("folder.txt"));
  w.show();
  EXPECT_TRUE(w.RichEdit1->toPlainText().isEmpty());
  EXPECT_EQ(w.StatusBar1->currentMessage(),
            "ヘルプファイル「" + QDir::toNativeSeparators(dir.filePath("folder.txt")) + "」を読み込めません。");
  w.close();
  w.setHelpPath(path);
  w.show();
  EXPECT_FALSE(w.RichEdit1->toPlainText().isEmpty());
  EXPECT_TRUE(w.StatusBar1->currentMessage().isEmpty());
  EXPECT_TRUE(w.RichEdit1->placeholderText().isEmpty());
  w.close();
  EXPECT_TRUE(w.RichEdit1->toPlainText().isEmpty());
  // A UTF-8 help file is read as UTF-8.
  EXPECT_EQ(helpTextFromBytes(QByteArray("★変数")), "★変数");
  EXPECT_EQ(helpTextFromBytes(QByteArray::fromStdString(utf8ToSjis("★変数"))), "★変数");
}

TEST(WindowLayout, PlacesAndColumnWidthsSurviveTheSettingsFile) {
  TFmHyo1 vars;
  TFmHyo2 data;
  TFmHelp help;
  TScrScreen viewer;
  vars.resize(500, 300);
  vars.move(40, 50);
  vars.StringGrid1->setColumnWidth(0, 111);
  vars.StringGrid1->setColumnWidth(2, 133);
  vars.StringGrid2->setColumnWidth(1, 77);
  data.StringGrid1->setColumnWidth(16, 99);
  help.move(70, 80);
  viewer.resize(700, 500);
  vars.setListGridWidth(150);

  IniFile ini;
  saveWindowLayout(ini, {&viewer, &vars, &data, &help});
  EXPECT_EQ(ini.read("Form", "F3X", 22), "40");
  EXPECT_EQ(ini.read("Form", "F3W", 22), "500");
  EXPECT_EQ(ini.read("Form", "F2W", 22), "700");
  EXPECT_EQ(ini.read("Form", "F5Y", 22), "80");
  EXPECT_EQ(ini.read("Comp", "H1SW0", 22), "111");
  EXPECT_EQ(ini.read("Comp", "H1SWA", 22), "77");
  EXPECT_EQ(ini.read("Comp", "H1SW", 22), "150");
  EXPECT_EQ(ini.read("Comp", "H2SW16", 22), "99");
  EXPECT_TRUE(ini.read("Comp", "H2SW0", 22));

  TFmHyo1 vars2;
  TFmHyo2 data2;
  TFmHelp help2;
  TScrScreen viewer2;
  vars2.move(5, 5);
  loadWindowLayout(IniFile::parse(ini.text()), {&viewer2, &vars2, &data2, &help2});
  EXPECT_EQ(vars2.pos(), QPoint(40, 50));
  EXPECT_EQ(vars2.size(), QSize(500, 300));
  EXPECT_EQ(vars2.StringGrid1->columnWidth(2), 133);
  EXPECT_EQ(vars2.StringGrid2->columnWidth(1), 77);
  EXPECT_EQ(vars2.listGridWidth(), 150);
  vars2.show();
  EXPECT_EQ(vars2.Splitter1->sizes().value(1), 150);
  EXPECT_EQ(data2.StringGrid1->columnWidth(16), 99);
  EXPECT_EQ(help2.pos(), QPoint(70, 80));
  EXPECT_EQ(viewer2.width(), 700);

  // Missing and empty keys keep the window's own values; a bad number reads as 0; a place on no
  // screen is not taken.
  TFmHelp help3;
  help3.move(12, 13);
  help3.resize(400, 300);
  loadWindowLayout(IniFile::parse("[Form]\r\nF5X=\r\nF5Y=abc\r\nF5W=640\r\n"), {nullptr, nullptr, nullptr, &help3});
  EXPECT_EQ(help3.pos(), QPoint(12, 0));
  EXPECT_EQ(help3.size(), QSize(640, 300));
  loadWindowLayout(IniFile::parse("[Form]\r\nF5X=-90000\r\nF5Y=-90000\r\n"), {nullptr, nullptr, nullptr, &help3});
  EXPECT_EQ(help3.pos(), QPoint(12, 0));
}

}  // namespace
}  // namespace kubrix
