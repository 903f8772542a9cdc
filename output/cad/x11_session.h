// The X11 side of the CAD hand-over (Xlib and the XTest extension, no Qt): the top-level windows with
// their titles, activating a window (maximised or shown normally, restored when minimised, raised and
// focused), the mouse pointer, and synthesised key presses.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "output/cad/hand_over.h"

namespace kubrix::cad {

class X11Session {
 public:
  // Opens the display named by $DISPLAY. Null, with the reason (UTF-8) in *why, when there is none
  // or it cannot be opened.
  static std::unique_ptr<X11Session> open(std::string* why = nullptr);
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  // True when the server offers XTest, which the key presses need.
  bool hasXTest() const;

  // The top-level windows front to back that are shown (a minimised window counts as shown) and
  // have no owner, with their titles; the windows of this process are left out.
  std::vector<TopWindow> topLevelWindows();

  // Shows window maximised (or normally, un-maximised), restores it when minimised, raises it and
  // gives it the keyboard focus; wait(ms) lets time pass while the window manager acts. False when
  // the window no longer exists.
  bool activate(unsigned long window, bool maximise, const std::function<void(int ms)>& wait);

  // The pointer's place on the screen; false when it cannot be read.
  bool pointer(int& x, int& y);
  void movePointer(int x, int y);

  // Presses or releases the key of an X11 keysym; a character that needs Shift on this keyboard gets
  // it. A keysym that no key of the keyboard has is not sent.
  void key(uint32_t keysym, bool press);

 private:
  struct Impl;
  explicit X11Session(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> d_;
};

}  // namespace kubrix::cad
