// What the engine needs from its host (the desktop program, the command-line runner or a test):
// escape polling, the clock, beeps and status texts, and the dialogs and speech of the interaction
// commands.
#pragma once

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

// A local calendar date and time as the date and time commands read it.
struct LocalDateTime {
  int year = 1970, month = 1, day = 1;  // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int weekday = 4;  // 0 Sunday .. 6 Saturday
};

class Host {
 public:
  virtual ~Host() = default;
  // Polled after every executed line except label lines; true ends the walk silently.
  virtual bool escapePressed() { return false; }
  // A status-bar panel (0 or 1) changed; text is CP932.
  virtual void statusChanged(int panel, std::string_view text) {
    (void)panel;
    (void)text;
  }
  virtual void beep() {}
  // Milliseconds of a monotonic clock, for the elapsed time of a run.
  virtual long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  // The local date and time for GETDATE and GETTIME; tests return a fixed moment.
  virtual LocalDateTime localNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    LocalDateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = tm.tm_sec;
    d.millisecond = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    d.weekday = tm.tm_wday;
    return d;
  }
  // The path of the script the host has open (CP932), empty when none; GETFNAME reads it.
  virtual std::string scriptPath() { return {}; }
  // Seed for RANDOMIZE.
  virtual unsigned long long clockSeed() {
    return static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  }

  // Interaction: the dialogs of the interaction commands and speech. Texts are CP932. A dialog call
  // returns when the dialog has closed; false means cancelled, and the question is then left as it
  // was. A host without a person (these defaults) cancels every dialog and stays silent.
  struct MessageText {
    std::string caption, line1, line2;
    std::string rangeMin, rangeMax;  // both empty: no range line
  };
  struct YesNoQuestion {
    std::string caption, line1, line2;
  };
  struct TextQuestion {
    std::string caption, prompt;
    std::string value;  // the preset; after OK the text as typed
    int maxLength = 0;  // bytes; applied only from 1 to 255
  };
  struct ItemQuestion {
    std::string prompt;
    std::vector<std::string> items;
    std::string wanted;  // preselected when an item equals it, else the first item
    int index = -1;      // after OK: the chosen position
  };
  // One row of the several-values dialog. Modes: 1 choose a position, 2 choose an item, 3 free text
  // with the items as suggestions, anything else a number typed freely.
  struct ValueRow {
    int mode = 0;
    std::string label;
    std::string value;  // the preset; after OK the answer (mode 1: the position)
    std::vector<std::string> items;
  };
  // MESSAGE: shows the message until it is closed.
  virtual void showMessage(const MessageText& m) { (void)m; }
  // INP_YN: true for yes; no and closing give false.
  virtual bool askYesNo(const YesNoQuestion& q) {
    (void)q;
    return false;
  }
  // INP_NUM, INP_STR: one line of text.
  virtual bool askText(TextQuestion& q) {
    (void)q;
    return false;
  }
  // INP_SEL: one item of a list.
  virtual bool askItem(ItemQuestion& q) {
    (void)q;
    return false;
  }
  // INP_NS1..INP_NS4: one to four rows at once; after OK every row's value is its answer.
  virtual bool askValues(std::vector<ValueRow>& rows) {
    (void)rows;
    return false;
  }
  // INP_COL: index is the preset colour index; after OK the chosen colour's palette index.
  virtual bool askColour(int& index) {
    (void)index;
    return false;
  }
  // TALK: starts speaking the text and returns at once. Speech errors are not reported.
  virtual void speak(std::string_view text) { (void)text; }
  virtual bool speaking() { return false; }
  virtual void stopSpeaking() {}
};

}  // namespace kubrix
