// Reading and writing the settings, and the script header.
#include "files/settings.h"

#include <charconv>
#include <cmath>

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

void readOptional(const IniFile& ini, const char* section, const std::string& key, std::optional<int>& target) {
  const auto v = ini.read(section, key, 22);
  if (!v || v->empty()) return;
  int32_t x;
  target = parseInt32(*v, x) ? x : 0;
}

void readBool(const IniFile& ini, const char* section, const std::string& key, bool& target) {
  int x = target ? 1 : 0;
  readInt(ini, section, key, 22, x);
  target = x != 0;
}

void readText(const IniFile& ini, const char* section, const std::string& key, size_t buffer, std::string& target) {
  const auto v = ini.read(section, key, buffer);
  if (v && !v->empty()) target = *v;
}

void readDouble(const IniFile& ini, const char* section, const std::string& key, double& target) {
  const auto v = ini.read(section, key, 32);
  if (!v || v->empty()) return;
  double x;
  target = parseDouble(*v, x) && std::isfinite(x) ? x : 0;
}

std::string intText(long long v) {
  std::string s;
  appendInt(s, v);
  return s;
}

void writeOptional(IniFile& ini, const char* section, const std::string& key, const std::optional<int>& v) {
  if (v) ini.write(section, key, intText(*v));
}

void readPlace(const IniFile& ini, const std::string& prefix, WindowPlace& p, bool withSize) {
  readOptional(ini, "Form", prefix + "X", p.x);
  readOptional(ini, "Form", prefix + "Y", p.y);
  if (!withSize) return;
  readOptional(ini, "Form", prefix + "W", p.w);
  readOptional(ini, "Form", prefix + "H", p.h);
}

void writePlace(IniFile& ini, const std::string& prefix, const WindowPlace& p, bool withSize) {
  writeOptional(ini, "Form", prefix + "X", p.x);
  writeOptional(ini, "Form", prefix + "Y", p.y);
  if (!withSize) return;
  writeOptional(ini, "Form", prefix + "W", p.w);
  writeOptional(ini, "Form", prefix + "H", p.h);
}

void readCad(const IniFile& ini, const std::string& prefix, CadSettings& c) {
  readInt(ini, "Keys", prefix + "_B", 22, c.scaleIndex);
  readDouble(ini, "Keys", prefix + "_W", c.waitSeconds);
  readBool(ini, "Keys", prefix + "_S", c.maximise);
  readBool(ini, "Keys", prefix + "_N", c.numbered);
  readText(ini, "Keys", prefix + "_T", 255, c.title);
  readText(ini, "Keys", prefix + "_C", 255, c.command);
}

void writeCad(IniFile& ini, const std::string& prefix, const CadSettings& c) {
  ini.write("Keys", prefix + "_B", intText(c.scaleIndex));
  ini.write("Keys", prefix + "_W", shortestNumberText(c.waitSeconds));
  ini.write("Keys", prefix + "_S", c.maximise ? "1" : "0");
  ini.write("Keys", prefix + "_N", c.numbered ? "1" : "0");
  ini.write("Keys", prefix + "_T", "\"" + c.title + "\"");
  ini.write("Keys", prefix + "_C", "\"" + c.command + "\"");
}

}  // namespace

std::string shortestNumberText(double v) {
  if (!std::isfinite(v)) v = 0;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

void Settings::read(const IniFile& ini) {
  for (int n = 1; n <= 5; ++n) readPlace(ini, "F" + std::to_string(n), forms[static_cast<size_t>(n - 1)], true);
  readPlace(ini, "FA", acadDialog, false);

  readOptional(ini, "Comp", "SW", gridWidth);
  for (size_t i = 0; i < gridColumns.size(); ++i) readOptional(ini, "Comp", "SW" + std::to_string(i), gridColumns[i]);
  int cb1 = logOff ? 1 : 0;
  readInt(ini, "Comp", "CB1", 22, cb1);
  logOff = cb1 != 0;
  readOptional(ini, "Comp", "H1SW", varTableWidth);
  for (size_t i = 0; i < varTableColumns.size(); ++i)
    readOptional(ini, "Comp", "H1SW" + std::to_string(i), varTableColumns[i]);
  readOptional(ini, "Comp", "H1SWA", varTableListColumn);
  for (size_t i = 0; i < dataTableColumns.size(); ++i)
    readOptional(ini, "Comp", "H2SW" + std::to_string(i), dataTableColumns[i]);

  readText(ini, "Fold", "DAT1", 512, openFolder);
  readText(ini, "Fold", "DAT2", 512, saveFolder);
  readText(ini, "Fold", "PSNM", 255, personalName);
  readText(ini, "Fold", "DSNM", 255, authorName);
  readText(ini, "Fold", "DSUR", 255, authorUrl);

  for (int n = 1; n <= 7; ++n) {
    readInt(ini, "Set", "LLay" + std::to_string(n), 32, lineLayer[static_cast<size_t>(n - 1)]);
    readInt(ini, "Set", "LCol" + std::to_string(n), 32, lineColour[static_cast<size_t>(n - 1)]);
  }
  readInt(ini, "Set", "ASep", 32, arcSegments);
  readInt(ini, "Set", "CSep", 32, curveSegments);
  readInt(ini, "Set", "RSep", 32, cornerSegments);
  readBool(ini, "Set", "FRld", reloadOnChange);

  readCad(ini, "ACAD", acad);
  readCad(ini, "GSU6", gsu6);
  readCad(ini, "GSU7", gsu7);
}

void Settings::write(IniFile& ini) const {
  for (int n = 1; n <= 5; ++n) writePlace(ini, "F" + std::to_string(n), forms[static_cast<size_t>(n - 1)], true);
  writePlace(ini, "FA", acadDialog, false);

  ini.write("Comp", "CB1", logOff ? "1" : "0");
  writeOptional(ini, "Comp", "SW", gridWidth);
  for (size_t i = 0; i < gridColumns.size(); ++i) writeOptional(ini, "Comp", "SW" + std::to_string(i), gridColumns[i]);
  writeOptional(ini, "Comp", "H1SW", varTableWidth);
  for (size_t i = 0; i < varTableColumns.size(); ++i)
    writeOptional(ini, "Comp", "H1SW" + std::to_string(i), varTableColumns[i]);
  writeOptional(ini, "Comp", "H1SWA", varTableListColumn);
  for (size_t i = 0; i < dataTableColumns.size(); ++i)
    writeOptional(ini, "Comp", "H2SW" + std::to_string(i), dataTableColumns[i]);

  ini.write("Fold", "DAT1", openFolder);
  ini.write("Fold", "DAT2", saveFolder);
  ini.write("Fold", "PSNM", personalName);
  ini.write("Fold", "DSNM", authorName);
  ini.write("Fold", "DSUR", authorUrl);

  for (int n = 1; n <= 7; ++n) {
    ini.write("Set", "LLay" + std::to_string(n), intText(lineLayer[static_cast<size_t>(n - 1)]));
    ini.write("Set", "LCol" + std::to_string(n), intText(lineColour[static_cast<size_t>(n - 1)]));
  }
  ini.write("Set", "ASep", intText(arcSegments));
  ini.write("Set", "CSep", intText(curveSegments));
  ini.write("Set", "RSep", intText(cornerSegments));
  ini.write("Set", "FRld", reloadOnChange ? "1" : "0");

  writeCad(ini, "ACAD", acad);
  writeCad(ini, "GSU6", gsu6);
  writeCad(ini, "GSU7", gsu7);
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
