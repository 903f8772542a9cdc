// What the engine needs from its host (the desktop program, the command-line runner or a test):
// escape polling, the clock, beeps and status texts. Interaction dialogs join this interface with
// the interaction commands.
#pragma once

#include <chrono>
#include <string_view>

namespace kubrix {

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
  // Seed for RANDOMIZE.
  virtual unsigned long long clockSeed() {
    return static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  }
};

}  // namespace kubrix
