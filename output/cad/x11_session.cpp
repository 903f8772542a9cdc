// Window search, activation, pointer and key presses on an X11 display.
#include "output/cad/x11_session.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <set>

// Xlib last: its macros (None, Status, Bool ...) must not reach the headers above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace kubrix::cad {

namespace {

// X errors (a window that went away between two requests) are counted, not fatal: Xlib's own
// handler would end the program.
int gXErrors = 0;
int countError(Display*, XErrorEvent*) {
  ++gXErrors;
  return 0;
}

class ErrorTrap {
 public:
  explicit ErrorTrap(Display* d) : d_(d), old_(XSetErrorHandler(countError)), before_(gXErrors) {}
  ~ErrorTrap() {
    XSync(d_, False);
    XSetErrorHandler(old_);
  }
  bool failed() {
    XSync(d_, False);
    return gXErrors != before_;
  }

 private:
  Display* d_;
  XErrorHandler old_;
  int before_;
};

constexpr long kIconicState = 3;
constexpr long kWithdrawnState = 0;

// Latin-1 (an XA_STRING title) to UTF-8.
std::string latin1ToUtf8(const unsigned char* s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    if (s[i] < 0x80) {
      out += static_cast<char>(s[i]);
    } else {
      out += static_cast<char>(0xC0 | (s[i] >> 6));
      out += static_cast<char>(0x80 | (s[i] & 0x3F));
    }
  }
  return out;
}

}  // namespace

struct X11Session::Impl {
  Display* dpy = nullptr;
  Window root = 0;
  bool xtest = false;
  Atom clientListStacking, clientList, netWmName, utf8String, wmState, netWmPid, netWmState, maxVert, maxHorz,
      netActiveWindow, netSupportingWmCheck;
  std::set<uint32_t> shifted;  // keysyms pressed with an added Shift

  ~Impl() {
    if (dpy) XCloseDisplay(dpy);
  }

  // A property's items (format 8, 32 as long); false when the window has none of that type.
  bool property(Window w, Atom prop, Atom type, std::vector<unsigned char>& bytes, std::vector<long>& longs) {
    Atom actual = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, prop, 0, 1 << 20, False, type, &actual, &format, &items, &after, &data) != Success)
      return false;
    const bool ok = data != nullptr && actual != 0 && (type == AnyPropertyType || actual == type);
    if (ok && format == 8) bytes.assign(data, data + items);
    if (ok && format == 32) longs.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + items);
    if (data) XFree(data);
    return ok;
  }
  bool windowList(Atom prop, std::vector<Window>& out) {
    std::vector<unsigned char> b;
    std::vector<long> l;
    if (!property(root, prop, XA_WINDOW, b, l)) return false;
    out.assign(l.begin(), l.end());
    return true;
  }
  long longProperty(Window w, Atom prop, Atom type, long missing) {
    std::vector<unsigned char> b;
    std::vector<long> l;
    return property(w, prop, type, b, l) && !l.empty() ? l[0] : missing;
  }
  bool hasWindowManager() {
    std::vector<unsigned char> b;
    std::vector<long> l;
    return property(root, netSupportingWmCheck, XA_WINDOW, b, l) && !l.empty();
  }

  std::string title(Window w) {
    std::vector<unsigned char> b;
    std::vector<long> l;
    if (property(w, netWmName, utf8String, b, l) && !b.empty()) return std::string(b.begin(), b.end());
    XTextProperty tp;
    if (!XGetWMName(dpy, w, &tp) || !tp.value) return {};
    std::string text;
    if (tp.encoding == XA_STRING) {
      text = latin1ToUtf8(tp.value, tp.nitems);
    } else if (tp.encoding == utf8String) {
      text.assign(reinterpret_cast<char*>(tp.value), tp.nitems);
    } else {
      char** list = nullptr;
      int count = 0;
      if (Xutf8TextPropertyToTextList(dpy, &tp, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i) text += list[i];
        XFreeStringList(list);
      }
    }
    XFree(tp.value);
    return text;
  }

  // The client window of a top-level frame: the frame itself or the first descendant with WM_STATE.
  Window clientOf(Window w, int depth) {
    std::vector<unsigned char> b;
    std::vector<long> l;
    if (property(w, wmState, wmState, b, l)) return w;
    if (depth == 0) return 0;
    Window r, p, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy, w, &r, &p, &children, &n)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i) found = clientOf(children[i], depth - 1);
    if (children) XFree(children);
    return found;
  }

  // Without a window manager's list: the root's mapped children, front to back.
  std::vector<Window> rootChildren() {
    std::vector<Window> out;
    Window r, p, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy, root, &r, &p, &children, &n)) return out;
    for (unsigned int i = n; i-- > 0;) {
      XWindowAttributes a;
      if (!XGetWindowAttributes(dpy, children[i], &a) || a.override_redirect || a.map_state != IsViewable) continue;
      const Window client = clientOf(children[i], 2);
      out.push_back(client ? client : children[i]);
    }
    if (children) XFree(children);
    return out;
  }

  void netWmStateMessage(Window w, long action) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = netWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = action;  // 0 remove, 1 add
    e.xclient.data.l[1] = static_cast<long>(maxVert);
    e.xclient.data.l[2] = static_cast<long>(maxHorz);
    e.xclient.data.l[3] = 2;  // from a tool acting for the user
    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  }
  void activeWindowMessage(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = netActiveWindow;
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  }
};

X11Session::X11Session(std::unique_ptr<Impl> impl) : d_(std::move(impl)) {}
X11Session::~X11Session() = default;

std::unique_ptr<X11Session> X11Session::open(std::string* why) {
  const char* name = getenv("DISPLAY");
  if (!name || !*name) {
    if (why) *why = "no X11 display (DISPLAY is not set)";
    return nullptr;
  }
  auto d = std::make_unique<Impl>();
  d->dpy = XOpenDisplay(nullptr);
  if (!d->dpy) {
    if (why) *why = std::string("cannot open the X11 display ") + name;
    return nullptr;
  }
  d->root = DefaultRootWindow(d->dpy);
  int event = 0, error = 0, major = 0, minor = 0;
  d->xtest = XTestQueryExtension(d->dpy, &event, &error, &major, &minor);
  auto atom = [&d](const char* n) { return XInternAtom(d->dpy, n, False); };
  d->clientListStacking = atom("_NET_CLIENT_LIST_STACKING");
  d->clientList = atom("_NET_CLIENT_LIST");
  d->netWmName = atom("_NET_WM_NAME");
  d->utf8String = atom("UTF8_STRING");
  d->wmState = atom("WM_STATE");
  d->netWmPid = atom("_NET_WM_PID");
  d->netWmState = atom("_NET_WM_STATE");
  d->maxVert = atom("_NET_WM_STATE_MAXIMIZED_VERT");
  d->maxHorz = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
  d->netActiveWindow = atom("_NET_ACTIVE_WINDOW");
  d->netSupportingWmCheck = atom("_NET_SUPPORTING_WM_CHECK");
  return std::unique_ptr<X11Session>(new X11Session(std::move(d)));
}

bool X11Session::hasXTest() const { return d_->xtest; }

std::vector<TopWindow> X11Session::topLevelWindows() {
  ErrorTrap trap(d_->dpy);
  std::vector<Window> order;
  bool managed = true;
  // The stacking list runs bottom to top: turned, the frontmost window comes first.
  if (d_->windowList(d_->clientListStacking, order)) std::reverse(order.begin(), order.end());
  else if (!d_->windowList(d_->clientList, order)) managed = false, order = d_->rootChildren();
  const long self = static_cast<long>(getpid());
  std::vector<TopWindow> out;
  for (Window w : order) {
    if (managed && d_->longProperty(w, d_->wmState, d_->wmState, 1) == kWithdrawnState) continue;  // not shown
    Window owner = 0;
    if (XGetTransientForHint(d_->dpy, w, &owner) && owner != 0) continue;  // an owned window
    if (d_->longProperty(w, d_->netWmPid, XA_CARDINAL, -1) == self) continue;
    out.push_back({static_cast<unsigned long>(w), d_->title(w)});
  }
  return out;
}

bool X11Session::activate(unsigned long window, bool maximise, const std::function<void(int)>& wait) {
  Display* dpy = d_->dpy;
  const Window w = static_cast<Window>(window);
  XWindowAttributes a;
  {
    ErrorTrap trap(dpy);
    if (!XGetWindowAttributes(dpy, w, &a) || trap.failed()) return false;
    const bool wm = d_->hasWindowManager();
    if (wm) d_->netWmStateMessage(w, maximise ? 1 : 0);
    else if (maximise) XMoveResizeWindow(dpy, w, 0, 0, static_cast<unsigned>(WidthOfScreen(a.screen)), static_cast<unsigned>(HeightOfScreen(a.screen)));
    // Mapping an iconic window restores it.
    if (d_->longProperty(w, d_->wmState, d_->wmState, 1) == kIconicState || a.map_state != IsViewable) XMapRaised(dpy, w);
    else XRaiseWindow(dpy, w);
    if (wm) d_->activeWindowMessage(w);
    XFlush(dpy);
  }
  // The window manager may take a moment to show the window; the focus needs it shown.
  for (int i = 0; i < 100; ++i) {
    ErrorTrap trap(dpy);
    if (!XGetWindowAttributes(dpy, w, &a) || trap.failed()) return false;
    if (a.map_state == IsViewable) break;
    wait(20);
  }
  ErrorTrap trap(dpy);
  if (a.map_state == IsViewable) XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
  XSync(dpy, False);
  return true;
}

bool X11Session::pointer(int& x, int& y) {
  Window r = 0, c = 0;
  int wx = 0, wy = 0;
  unsigned int mask = 0;
  return XQueryPointer(d_->dpy, d_->root, &r, &c, &x, &y, &wx, &wy, &mask);
}

void X11Session::movePointer(int x, int y) {
  XWarpPointer(d_->dpy, 0, d_->root, 0, 0, 0, 0, x, y);
  XFlush(d_->dpy);
}

void X11Session::key(uint32_t sym, bool press) {
  if (!d_->xtest) return;
  Display* dpy = d_->dpy;
  const KeyCode code = XKeysymToKeycode(dpy, sym);
  if (code == 0) return;
  const KeyCode shift = XKeysymToKeycode(dpy, XK_Shift_L);
  if (press) {
    const bool needsShift = XkbKeycodeToKeysym(dpy, code, 0, 0) != sym && XkbKeycodeToKeysym(dpy, code, 0, 1) == sym;
    if (needsShift && shift != 0) {
      XTestFakeKeyEvent(dpy, shift, True, CurrentTime);
      d_->shifted.insert(sym);
    }
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
  } else {
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    if (d_->shifted.erase(sym) > 0) XTestFakeKeyEvent(dpy, shift, False, CurrentTime);
  }
  XSync(dpy, False);
}

}  // namespace kubrix::cad
