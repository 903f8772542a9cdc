// Window places and column widths in the settings file.
#include "app/windows/window_layout.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QWidget>
#include <optional>
#include <string>

#include "app/windows/fm_help.h"
#include "app/windows/fm_hyo1.h"
#include "app/windows/fm_hyo2.h"
#include "engine/number_text.h"
#include "output/viewer/scr_screen.h"

namespace kubrix {

namespace {

constexpr size_t kReadBuffer = 22;

// A key's integer: nothing when missing or empty, 0 when it is not a number.
std::optional<int> readInt(const IniFile& ini, const char* section, const std::string& key) {
  const std::optional<std::string> text = ini.read(section, key, kReadBuffer);
  if (!text || text->empty()) return std::nullopt;
  int32_t v = 0;
  if (!parseInt32(*text, v)) return 0;
  return v;
}

void writeInt(IniFile& ini, const char* section, const std::string& key, int value) {
  std::string s;
  appendInt(s, value);
  ini.write(section, key, s);
}

bool onSomeScreen(const QRect& r) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().intersects(r)) return true;
  return false;
}

void loadColumnWidth(const IniFile& ini, const std::string& key, QHeaderView* header, int column) {
  const std::optional<int> w = readInt(ini, "Comp", key);
  if (w && *w >= 1) header->resizeSection(column, *w);
}

}  // namespace

void loadWindowPlace(const IniFile& ini, const char* prefix, QWidget& window) {
  const std::string p = prefix;
  const std::optional<int> x = readInt(ini, "Form", p + "X"), y = readInt(ini, "Form", p + "Y");
  const std::optional<int> w = readInt(ini, "Form", p + "W"), h = readInt(ini, "Form", p + "H");
  const QRect before(window.pos(), window.size());
  QRect r = before;
  if (x) r.moveLeft(*x);
  if (y) r.moveTop(*y);
  if (w && *w >= 1) r.setWidth(*w);
  if (h && *h >= 1) r.setHeight(*h);
  // A place that lies on no screen (a screen removed since) would put the window out of reach.
  if (r.topLeft() != before.topLeft() && QGuiApplication::primaryScreen() && !onSomeScreen(r)) r.moveTopLeft(before.topLeft());
  window.resize(r.size());
  window.move(r.topLeft());
}

void saveWindowPlace(IniFile& ini, const char* prefix, const QWidget& window) {
  const std::string p = prefix;
  writeInt(ini, "Form", p + "X", window.x());
  writeInt(ini, "Form", p + "Y", window.y());
  writeInt(ini, "Form", p + "W", window.width());
  writeInt(ini, "Form", p + "H", window.height());
}

void loadWindowLayout(const IniFile& ini, const SecondaryWindows& w) {
  if (w.viewer) loadWindowPlace(ini, "F2", *w.viewer);
  if (TFmHyo1* t = w.variableTable) {
    loadWindowPlace(ini, "F3", *t);
    for (int c = 0; c < 3; ++c) loadColumnWidth(ini, "H1SW" + std::to_string(c), t->StringGrid1->horizontalHeader(), c);
    loadColumnWidth(ini, "H1SWA", t->StringGrid2->horizontalHeader(), 1);
    const std::optional<int> listWidth = readInt(ini, "Comp", "H1SW");
    if (listWidth && *listWidth >= 1) t->setListGridWidth(*listWidth);
  }
  if (TFmHyo2* t = w.dataTable) {
    loadWindowPlace(ini, "F4", *t);
    for (int c = 0; c < kDataTableColumns; ++c)
      loadColumnWidth(ini, "H2SW" + std::to_string(c), t->StringGrid1->horizontalHeader(), c);
  }
  if (w.help) loadWindowPlace(ini, "F5", *w.help);
}

void saveWindowLayout(IniFile& ini, const SecondaryWindows& w) {
  if (w.viewer) saveWindowPlace(ini, "F2", *w.viewer);
  if (TFmHyo1* t = w.variableTable) {
    saveWindowPlace(ini, "F3", *t);
    writeInt(ini, "Comp", "H1SW", t->listGridWidth());
    for (int c = 0; c < 3; ++c) writeInt(ini, "Comp", "H1SW" + std::to_string(c), t->StringGrid1->columnWidth(c));
    writeInt(ini, "Comp", "H1SWA", t->StringGrid2->columnWidth(1));
  }
  if (TFmHyo2* t = w.dataTable) {
    saveWindowPlace(ini, "F4", *t);
    for (int c = 0; c < kDataTableColumns; ++c) writeInt(ini, "Comp", "H2SW" + std::to_string(c), t->StringGrid1->columnWidth(c));
  }
  if (w.help) saveWindowPlace(ini, "F5", *w.help);
}

}  // namespace kubrix
