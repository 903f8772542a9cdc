// Reading and writing the settings, and the script header.
#include "app/settings.h"

#include "engine/number_text.h"

namespace kubrix {

const std::array<const char*, 7> kLineKindNames = {"外径線", "寸法線", "中心線", "基準線", "想像線", "隠れ線", "補助線"};

namespace {

void readInt(const IniFile& ini, const char* section, const std::string& key, size_t buffer, int& target) {
  const auto v = ini.read(section, key, buffer);
  if (!v || v->empty()) return;
  int32_t x;
  target = parseInt32(*v, x) ? x : 0;
}

void readText(const IniFile& ini, const char* section, const char* key, size_t buffer, std::string& target) {
  const auto v = ini.read(section, key, buffer);
  if (v && !v->empty()) target = *v;
}

std::string intText(long long v) {
  std::string s;
  appendInt(s, v);
  return s;
}

}  // namespace

void Settings::read(const IniFile& ini) {
  for (int n = 1; n <= 7; ++n) {
    readInt(ini, "Set", "LLay" + std::to_string(n), 32, lineLayer[static_cast<size_t>(n - 1)]);
    readInt(ini, "Set", "LCol" + std::to_string(n), 32, lineColour[static_cast<size_t>(n - 1)]);
  }
  readInt(ini, "Set", "ASep", 32, arcSegments);
  readInt(ini, "Set", "CSep", 32, curveSegments);
  readInt(ini, "Set", "RSep", 32, cornerSegments);
  int cb1 = logOff ? 1 : 0;
  readInt(ini, "Comp", "CB1", 22, cb1);
  logOff = cb1 != 0;
  readText(ini, "Fold", "PSNM", 255, personalName);
  readText(ini, "Fold", "DSNM", 255, authorName);
  readText(ini, "Fold", "DSUR", 255, authorUrl);
}

void Settings::write(IniFile& ini) const {
  for (int n = 1; n <= 7; ++n) {
    ini.write("Set", "LLay" + std::to_string(n), intText(lineLayer[static_cast<size_t>(n - 1)]));
    ini.write("Set", "LCol" + std::to_string(n), intText(lineColour[static_cast<size_t>(n - 1)]));
  }
  ini.write("Set", "ASep", intText(arcSegments));
  ini.write("Set", "CSep", intText(curveSegments));
  ini.write("Set", "RSep", intText(cornerSegments));
  ini.write("Comp", "CB1", logOff ? "1" : "0");
  ini.write("Fold", "PSNM", personalName);
  ini.write("Fold", "DSNM", authorName);
  ini.write("Fold", "DSUR", authorUrl);
}

std::string scriptHeader(const Settings& s) {
  std::string h = "#VAR\r\n";
  for (int n = 1; n <= 7; ++n) {
    h += "  SetLineLay" + std::to_string(n) + "\r\n";
    h += "  SetLineCol" + std::to_string(n) + "\r\n";
  }
  h += "  SetArcSep\r\n  SetCrvSep\r\n  SetCorSep\r\n#DRAW\r\n";
  for (int n = 1; n <= 7; ++n) {
    h += "  CAL SetLineLay" + std::to_string(n) + " = " + intText(s.lineLayer[static_cast<size_t>(n - 1)]) + "\r\n";
    h += "  CAL SetLineCol" + std::to_string(n) + " = " + intText(s.lineColour[static_cast<size_t>(n - 1)]) + "\r\n";
  }
  h += "  CAL SetArcSep = " + intText(s.arcSegments) + "\r\n";
  h += "  CAL SetCrvSep = " + intText(s.curveSegments) + "\r\n";
  h += "  CAL SetCorSep = " + intText(s.cornerSegments) + "\r\n";
  return h;
}

}  // namespace kubrix
