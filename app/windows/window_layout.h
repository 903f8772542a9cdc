// The places of the viewer, the variable table, the data table and the help window, and the
// widths of the tables' columns, in the settings file: section "Form" keys F2 to F5 (X, Y, W, H)
// and section "Comp" keys H1SW, H1SW0-2, H1SWA and H2SW0-16. The main window calls these when it
// reads and writes the settings file.
#pragma once

#include "files/ini_file.h"

class QWidget;

namespace kubrix {

class TScrScreen;
class TFmHyo1;
class TFmHyo2;
class TFmHelp;

// The windows whose layout is kept; a null pointer is passed over.
struct SecondaryWindows {
  TScrScreen* viewer = nullptr;  // F2
  TFmHyo1* variableTable = nullptr;  // F3, H1SW, H1SW0-2, H1SWA
  TFmHyo2* dataTable = nullptr;  // F4, H2SW0-16
  TFmHelp* help = nullptr;  // F5
};

// Applies the stored places and widths. A key that is missing or empty keeps the window's own
// value; a value that is not a number reads as 0. A window whose stored rectangle lies on no
// screen is left where it is; widths below 1 are passed over.
void loadWindowLayout(const IniFile& ini, const SecondaryWindows& windows);
// Writes every key of the windows given.
void saveWindowLayout(IniFile& ini, const SecondaryWindows& windows);

// One window's place under prefix ("F2" ...): keys prefix + "X", "Y", "W", "H".
void loadWindowPlace(const IniFile& ini, const char* prefix, QWidget& window);
void saveWindowPlace(IniFile& ini, const char* prefix, const QWidget& window);

}  // namespace kubrix
