// Another X client for the hotkey tests.
//   x11_grabber hold KEYSYM MODMASK   grabs the combination on the root window
//                                     (all lock variants), prints "held" and
//                                     keeps it until killed; exits 3 if refused
//   x11_grabber try KEYSYM MODMASK    exits 0 when the combination could be
//                                     grabbed (and lets it go), 1 otherwise
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <initializer_list>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool g_refused = false;

int OnError(Display*, XErrorEvent* error) {
  if (error->error_code == BadAccess) {
    g_refused = true;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) {
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return 2;
  }
  XSetErrorHandler(OnError);
  const KeySym keysym = XStringToKeysym(argv[2]);
  const KeyCode keycode = XKeysymToKeycode(display, keysym);
  const unsigned mods = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 0));
  const Window root = DefaultRootWindow(display);
  for (unsigned lock : {0u, static_cast<unsigned>(LockMask), static_cast<unsigned>(Mod2Mask),
                        static_cast<unsigned>(LockMask | Mod2Mask)}) {
    XGrabKey(display, keycode, mods | lock, root, True, GrabModeAsync, GrabModeAsync);
  }
  XSync(display, False);
  if (std::strcmp(argv[1], "try") == 0) {
    XCloseDisplay(display);
    return g_refused ? 1 : 0;
  }
  if (g_refused) {
    return 3;
  }
  std::printf("held\n");
  std::fflush(stdout);
  while (true) {
    pause();
  }
}
