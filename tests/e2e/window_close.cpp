// Kept apart from the tests: Xlib's macros collide with GoogleTest's names.
#include "tests/e2e/board_driver.h"

#include <X11/Xlib.h>

namespace tavrik::e2e {

void RequestClose(unsigned long window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
}

}  // namespace tavrik::e2e
