// Settings held by the main window, read from and written to the settings file "Kubrix.ini", and
// the script header generated from the line settings.
#pragma once

#include <array>
#include <string>

#include "app/ini_file.h"

namespace kubrix {

struct Settings {
  std::array<int, 7> lineLayer{0, 0, 0, 0, 0, 0, 0};
  std::array<int, 7> lineColour{1, 2, 3, 4, 5, 6, 7};
  int arcSegments = 24;
  int curveSegments = 10;
  int cornerSegments = 5;
  bool logOff = false;
  std::string personalName = "---";  // CP932
  std::string authorName = "No Name";
  std::string authorUrl = "No Url";

  // Reads every known key; a key that is missing or empty keeps the current value, and a value
  // that is not a valid number reads as 0.
  void read(const IniFile& ini);
  void write(IniFile& ini) const;
};

// The names of the seven line kinds, in row order (UTF-8).
extern const std::array<const char*, 7> kLineKindNames;

// The script header: declarations of the reserved variables and CAL lines that assign the settings.
std::string scriptHeader(const Settings& s);

}  // namespace kubrix
