// The command-key strings of the CAD hand-over, turned into the key presses, releases and pauses that
// the key sender plays. Key codes are X11 keysym values, so that the X11 sender passes them on as
// they are; this part knows neither X11 nor Qt.
//
// Syntax: a token is one character, a group "{...}" up to the next "}", or up to three of "^" (Ctrl),
// "@" (Alt) and "~" (Shift) held for the character or group that follows. A group holds a key name
// ({TAB}, {ENTER}, {F1}, ...; the first seven characters compared without case), one character
// ({0} sends the 0 key), or a positive number n: a pause of n x 100 ms. A blank and a count in a group
// ({TAB 3}) sends the token that many times. Before every key token the sender waits the key wait
// time. The first "{X...}" group puts its text on the clipboard and stands for "^V".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix::cad {

namespace keysym {
inline constexpr uint32_t kBackSpace = 0xff08, kTab = 0xff09, kReturn = 0xff0d, kEscape = 0xff1b;
inline constexpr uint32_t kHome = 0xff50, kLeft = 0xff51, kUp = 0xff52, kRight = 0xff53, kDown = 0xff54;
inline constexpr uint32_t kPageUp = 0xff55, kPageDown = 0xff56, kEnd = 0xff57;
inline constexpr uint32_t kPrint = 0xff61, kInsert = 0xff63, kDelete = 0xffff;
inline constexpr uint32_t kF1 = 0xffbe;  // F1 ... F12 follow one by one
inline constexpr uint32_t kShift = 0xffe1, kControl = 0xffe3, kAlt = 0xffe9;
inline constexpr uint32_t kKpMultiply = 0xffaa, kKpAdd = 0xffab, kKpSubtract = 0xffad, kKpDecimal = 0xffae,
                          kKpDivide = 0xffaf;
inline constexpr uint32_t kSpace = 0x20, kComma = 0x2c;
}  // namespace keysym

struct KeyStep {
  enum Kind : uint8_t {
    Wait,     // the key wait time before a key token (value: milliseconds)
    Pause,    // a "{n}" pause (value: milliseconds)
    Press,    // value: keysym
    Release,  // value: keysym
  };
  Kind kind;
  uint64_t value;
  bool operator==(const KeyStep&) const = default;
};

struct KeyScript {
  // False when a "{X" group has no "}" after it: then nothing at all is sent.
  bool valid = true;
  // The text of the first "{X...}" group (CP932), put on the clipboard before the keys are sent.
  bool hasClipboardText = false;
  std::string clipboardText;
  std::vector<KeyStep> steps;
};

// A token's count is capped here: a mistyped "{TAB 100000000}" must not type for days.
inline constexpr long kMaxTokenCount = 10000;

// Parses a key string (CP932 bytes). waitMs is the key wait time in whole milliseconds.
KeyScript parseKeyString(std::string_view keys, uint64_t waitMs);

// The key wait time in whole milliseconds for a wait time in seconds (0 for a negative or undefined
// time).
uint64_t waitMilliseconds(double seconds);

// A readable form of steps for tests and diagnostics: "wait 100, +Alt_L, +i, -i, -Alt_L, pause 3000".
std::string describeSteps(const std::vector<KeyStep>& steps);

}  // namespace kubrix::cad
