// Settings held by the main window, read from and written to the settings file "Kubrix.ini", and
// the script header generated from the line settings.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "files/ini_file.h"

namespace kubrix {

// A window's stored place: left, top, width, height; each key may be missing.
struct WindowPlace {
  std::optional<int> x, y, w, h;
  bool complete() const { return x && y && w && h; }
};

// One set of CAD output settings (AutoCAD, SketchUp 6, SketchUp 7).
struct CadSettings {
  int scaleIndex = 0;         // 0-4: x1, x10, x100, x1000, x10000
  double waitSeconds = 0.1;   // key wait time
  bool maximise = false;      // maximise the application window when sending keys
  bool numbered = false;      // number the temporary files
  std::string title;          // text contained in the application's title bar (CP932)
  std::string command;        // command keys (CP932)
  int currentNumber = 0;      // running number of the temporary file; not stored, 0 at each start
};

struct Settings {
  std::array<int, 7> lineLayer{0, 0, 0, 0, 0, 0, 0};
  std::array<int, 7> lineColour{1, 2, 3, 4, 5, 6, 7};
  int arcSegments = 24;
  int curveSegments = 10;
  int cornerSegments = 5;
  bool logOff = false;
  bool reloadOnChange = false;  // "ファイル変更時に再読込": reload and run the open script when its file changes
  std::string personalName = "---";  // CP932
  std::string authorName = "No Name";
  std::string authorUrl = "No Url";

  // "Form": the main window (F1), viewer (F2), variable table (F3), data table (F4), help window (F5),
  // and the left and top of the AutoCAD settings dialog (FA, w and h unused). A window that is not
  // built keeps what was read, so its keys are written back unchanged.
  std::array<WindowPlace, 5> forms;
  WindowPlace acadDialog;
  // "Comp": the parameter grid's width and column widths, the variable table's grid widths and the
  // data table's 17 column widths; missing keys stay empty (the window's own layout).
  std::optional<int> gridWidth;
  std::array<std::optional<int>, 3> gridColumns;
  std::optional<int> varTableWidth;  // H1SW
  std::array<std::optional<int>, 3> varTableColumns;  // H1SW0-2
  std::optional<int> varTableListColumn;  // H1SWA
  std::array<std::optional<int>, 17> dataTableColumns;  // H2SW0-16
  // "Fold": starting folders of the script open dialog and of the viewer's save dialog (CP932).
  std::string openFolder, saveFolder;
  // "Keys".
  CadSettings acad{0, 0.1, false, false, "AutoCAD", "@IB{TAB}{ENTER}^V{ENTER}"};
  CadSettings gsu6{0, 0.1, false, false, "SketchUp", "@FE{LEFT}{DOWN}{ENTER}{TAB}A~{TAB}^V{ENTER}"};
  CadSettings gsu7{0, 0.1, false, false, "SketchUp", "@FI{TAB}G~{TAB}^V{ENTER}"};

  // Reads every known key; a key that is missing or empty keeps the current value, and a value
  // that is not a valid number reads as 0.
  void read(const IniFile& ini);
  // Writes every key that has a value (layout keys of windows never placed are left out). Titles
  // and command keys are written in double quotes so that leading and trailing blanks survive.
  void write(IniFile& ini) const;
};

// The names of the seven line kinds, in row order (UTF-8).
extern const std::array<const char*, 7> kLineKindNames;

// The script header: declarations of the reserved variables and CAL lines that assign the settings.
std::string scriptHeader(const Settings& s);

// The shortest decimal text that reads back as v ("0.1", "2", "1e-05").
std::string shortestNumberText(double v);

}  // namespace kubrix
