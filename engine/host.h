// What the engine needs from its host (the desktop program, the command-line runner or a test):
// escape polling, the clock, beeps and status texts. Interaction dialogs join this interface with
// the interaction commands.
#pragma once

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>

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
};

}  // namespace kubrix
