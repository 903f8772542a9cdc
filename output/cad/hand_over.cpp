// Window choice, file names and numbers of the CAD hand-over.
#include "output/cad/hand_over.h"

#include <climits>

#include "engine/sjis.h"

namespace kubrix::cad {

const char* notRunningMessage(Target t) {
  switch (t) {
    case Target::Acad: return "AutoCADが起動されていません。";
    case Target::Gsu6: return "SketchUpが起動されていません。";
    case Target::Gsu7: break;
  }
  return "Google SketchUp7が起動されていません。";
}

const char* fileNotWrittenMessage(Target t) {
  return writesCollada(t) ? "一時DAEファイルが作成出来ませんでした。" : "一時DXFファイルが作成出来ませんでした。";
}

namespace {

// The first kTitleChars characters of a UTF-8 title.
std::string_view titleHead(std::string_view title) {
  size_t chars = 0;
  for (size_t i = 0; i < title.size(); ++i) {
    if ((static_cast<unsigned char>(title[i]) & 0xC0) == 0x80) continue;
    if (chars++ == kTitleChars) return title.substr(0, i);
  }
  return title;
}

}  // namespace

std::array<unsigned long, kTargetCount> findTargetWindows(const std::vector<TopWindow>& windows, const Settings& s) {
  std::array<unsigned long, kTargetCount> found{};
  std::array<std::string, kTargetCount> texts;
  for (size_t t = 0; t < kTargetCount; ++t) texts[t] = sjisToUtf8(cadSettings(s, kTargets[t]).title);
  for (const TopWindow& w : windows) {
    const std::string_view title = titleHead(w.title);
    for (size_t t = 0; t < kTargetCount; ++t)
      if (!texts[t].empty() && title.find(texts[t]) != std::string_view::npos) found[t] = w.id;
  }
  return found;
}

double outputScale(int scaleIndex) {
  switch (scaleIndex) {
    case 1: return 10;
    case 2: return 100;
    case 3: return 1000;
    case 4: return 10000;
    default: return 1;
  }
}

std::string temporaryFileName(Target t, const CadSettings& c) {
  std::string name = "temp";
  if (c.numbered) name += std::to_string(c.currentNumber);
  name += writesCollada(t) ? ".dae" : ".dxf";
  return name;
}

void advanceNumbers(Settings& s) {
  for (Target t : kTargets) {
    CadSettings& c = cadSettings(s, t);
    if (c.numbered && c.currentNumber < INT_MAX) ++c.currentNumber;
  }
}

}  // namespace kubrix::cad
