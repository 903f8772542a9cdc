// A stand-in for a CAD application in the hand-over tests: one X11 window with the title given as
// the first argument that writes every event it receives to standard output, one line each:
//   ready <window id>        the window is shown
//   focus                    it has the keyboard focus
//   key +<keysym> <x>,<y>    a key press (the key's unshifted keysym, the pointer on the screen)
//   key -<keysym> <x>,<y>    a key release
//   clipboard <text>         the clipboard's text, asked for at every Ctrl+V
//   size <w>x<h>             the window's new size
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s TITLE\n", argv[0]);
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    fprintf(stderr, "no display\n");
    return 1;
  }
  const int screen = DefaultScreen(d);
  const Window w = XCreateSimpleWindow(d, RootWindow(d, screen), 100, 100, 320, 200, 1, BlackPixel(d, screen),
                                       WhitePixel(d, screen));
  XStoreName(d, w, argv[1]);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(argv[1]), static_cast<int>(strlen(argv[1])));
  XSelectInput(d, w, KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask);
  XMapWindow(d, w);
  const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
  const Atom target = XInternAtom(d, "KUBRIX_PASTE", False);
  int width = 320, height = 200;
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    switch (e.type) {
      case MapNotify: printf("ready %lu\n", static_cast<unsigned long>(w)); break;
      case FocusIn: printf("focus\n"); break;
      case KeyPress:
      case KeyRelease: {
        const KeySym sym = XLookupKeysym(&e.xkey, 0);
        const char* name = XKeysymToString(sym);
        printf("key %c%s %d,%d\n", e.type == KeyPress ? '+' : '-', name ? name : "?", e.xkey.x_root, e.xkey.y_root);
        if (e.type == KeyPress && sym == XK_v && (e.xkey.state & ControlMask))
          XConvertSelection(d, clipboard, utf8, target, w, e.xkey.time);
        break;
      }
      case SelectionNotify: {
        std::string text = "<none>";
        if (e.xselection.property != None) {
          Atom type;
          int format;
          unsigned long items, after;
          unsigned char* data = nullptr;
          if (XGetWindowProperty(d, w, target, 0, 1 << 16, True, AnyPropertyType, &type, &format, &items, &after, &data) ==
                  Success &&
              data) {
            text.assign(reinterpret_cast<char*>(data), items);
            XFree(data);
          }
        }
        printf("clipboard %s\n", text.c_str());
        break;
      }
      case ConfigureNotify:
        if (e.xconfigure.width != width || e.xconfigure.height != height) {
          width = e.xconfigure.width;
          height = e.xconfigure.height;
          printf("size %dx%d\n", width, height);
        }
        break;
      default: break;
    }
    fflush(stdout);
  }
}
