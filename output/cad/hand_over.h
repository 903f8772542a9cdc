// The parts of the CAD hand-over that need neither X11 nor Qt: the three targets with their
// messages, the choice of each target's window among the top-level windows, the temporary file's
// name, the output scale and the running numbers.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/settings.h"

namespace kubrix::cad {

enum class Target { Acad = 0, Gsu6 = 1, Gsu7 = 2 };
inline constexpr size_t kTargetCount = 3;
inline constexpr std::array<Target, kTargetCount> kTargets = {Target::Acad, Target::Gsu6, Target::Gsu7};

inline CadSettings& cadSettings(Settings& s, Target t) {
  return t == Target::Acad ? s.acad : t == Target::Gsu6 ? s.gsu6 : s.gsu7;
}
inline const CadSettings& cadSettings(const Settings& s, Target t) {
  return t == Target::Acad ? s.acad : t == Target::Gsu6 ? s.gsu6 : s.gsu7;
}

// Messages (UTF-8).
inline constexpr const char* kNoFiguresMessage = "図形データが生成されていません。";
const char* notRunningMessage(Target t);     // "AutoCADが起動されていません。" ...
const char* fileNotWrittenMessage(Target t);  // "一時DXFファイルが作成出来ませんでした。" or the DAE one
// Said instead of searching when there is no X11 display to search and send keys on.
inline constexpr const char* kNeedsX11Message =
    "CADアプリケーションへの出力には X11 のセッションが必要です。\n"
    "Wayland だけのセッションや画面のない環境では、ウィンドウを探してキーを送ることができません。\n"
    "X11 のセッション（または XWayland 上で動くCADアプリケーション）でお使い下さい。";

// A top-level window: its id and its title (UTF-8).
struct TopWindow {
  unsigned long id = 0;
  std::string title;
};

// The longest part of a title that is compared, in characters.
inline constexpr size_t kTitleChars = 255;

// For each target, the last window in the list whose title (its first kTitleChars characters)
// holds the target's title text (CP932, compared case-sensitively); 0 when none does. An empty
// title text matches no window.
std::array<unsigned long, kTargetCount> findTargetWindows(const std::vector<TopWindow>& windows, const Settings& s);

// The output scale of a scale index: 1, 10, 100, 1000, 10000; 1 for any other index.
double outputScale(int scaleIndex);
// True for the targets whose file is COLLADA (SketchUp 7), false for DXF.
inline bool writesCollada(Target t) { return t == Target::Gsu7; }
// The temporary file's name: "temp" + the current number (when numbering is on) + ".dxf" or ".dae".
std::string temporaryFileName(Target t, const CadSettings& c);
// After a transfer: every target whose numbering is on counts one on.
void advanceNumbers(Settings& s);

}  // namespace kubrix::cad
