// Start-up time to the window shown, idle memory and idle CPU of programs,
// measured from outside: the X server reports the mapping of a window, /proc
// the memory and CPU time. The programs take turns, run by run, so that each
// meets the machine in the same state; start-up is sampled STARTS times per
// program, idle memory and CPU in the first RUNS of those.
//
//   startup_figures RUNS STARTS NAME TITLE_PREFIX PROGRAM [NAME TITLE_PREFIX PROGRAM ...]
//
// prints one line per program: NAME shown_ms=... rss_mb=... cpu_pct=...
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string WindowTitle(Display* display, Window window) {
  XTextProperty property{};
  std::string title;
  const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
  if (XGetTextProperty(display, window, &property, netName) != 0 && property.value != nullptr) {
    title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  } else if (XGetWMName(display, window, &property) != 0 && property.value != nullptr) {
    title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  }
  return title;
}

long RssKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::stol(line.substr(6));
    }
  }
  return 0;
}

double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const auto close = text.rfind(')');
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) {
      stime = std::stol(field);
      break;
    }
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

struct Program {
  std::string name;
  std::string prefix;
  std::string path;
  std::vector<double> shown, rss, cpu;
};

// Starts `program`, returns the milliseconds until its window is mapped (or
// -1), and, when `idle` is set, measures its idle memory and CPU; then ends it.
double RunOnce(Display* display, Program& program, bool idle) {
  XSync(display, True);  // drop what earlier runs left
  pid_t pid = 0;
  char* arguments[] = {program.path.data(), nullptr};
  const auto start = Clock::now();
  if (posix_spawn(&pid, program.path.c_str(), nullptr, nullptr, arguments, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", program.path.c_str());
    return -1.0;
  }
  double mappedMs = -1.0;
  while (mappedMs < 0.0 && Clock::now() - start < std::chrono::seconds(20)) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && WindowTitle(display, event.xmap.window).rfind(program.prefix, 0) == 0) {
        mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (idle) {
    // Settle past the fade-in and the start-up threads, then sit idle.
    std::this_thread::sleep_for(std::chrono::seconds(4));
    const double before = CpuSeconds(pid);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double after = CpuSeconds(pid);
    program.rss.push_back(static_cast<double>(RssKilobytes(pid)) / 1024.0);
    program.cpu.push_back((after - before) / 10.0 * 100.0);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return mappedMs;
}

int main(int argc, char* argv[]) {
  if (argc < 6 || (argc - 3) % 3 != 0) {
    std::fprintf(stderr, "usage: %s RUNS STARTS NAME TITLE_PREFIX PROGRAM [NAME TITLE_PREFIX PROGRAM ...]\n", argv[0]);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const int starts = std::max(runs, std::atoi(argv[2]));
  std::vector<Program> programs;
  for (int i = 3; i + 2 < argc; i += 3) {
    programs.push_back({argv[i], argv[i + 1], argv[i + 2], {}, {}, {}});
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  for (int run = 0; run < starts; ++run) {
    for (Program& program : programs) {
      program.shown.push_back(RunOnce(display, program, run < runs));
    }
  }
  for (const Program& program : programs) {
    std::printf("%s shown_ms=%.1f rss_mb=%.1f cpu_pct=%.2f\n", program.name.c_str(), Median(program.shown),
                Median(program.rss), Median(program.cpu));
  }
  XCloseDisplay(display);
  return 0;
}
