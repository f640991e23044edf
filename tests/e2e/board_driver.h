#pragma once

#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tavrik::e2e {

// A run folder holding a copy of the board, its data and sound folders, a
// disk file that receives every sample the board plays, and a stand-in for
// the desktop's browser that writes down each address it is asked to open.
class RunFolder {
public:
  RunFolder();
  const std::string& path() const { return m_path; }
  std::string File(const std::string& relative) const { return m_path + "/" + relative; }
  std::string audioFile() const { return File("device.raw"); }
  // A name of its own per test process, so that boards of other runs on this
  // machine never meet this one's single-instance guard.
  std::string executable() const { return File("Tavrik-e2e-" + std::to_string(getpid())); }
  std::string openedFile() const { return File("opened.txt"); }
  std::map<std::string, std::string> Environment() const;

private:
  std::string m_path;
};

// A running board (or any program) started with its own environment.
class Process {
public:
  Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Running();
  // The exit code once it has ended within `timeout`, or -1000.
  int WaitForExit(std::chrono::milliseconds timeout);
  int pid() const { return m_pid; }

private:
  int m_pid = -1;
  int m_status = -1;
  bool m_ended = false;
};

// Output of a command line run through the shell, without its last newline.
std::string Shell(const std::string& command);

// Polls `condition` every 20 ms until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The first visible window whose title matches `pattern`, or 0.
unsigned long FindWindow(const std::string& pattern, std::chrono::milliseconds timeout = std::chrono::seconds(10));
bool WindowMapped(unsigned long window);
Geometry WindowGeometry(unsigned long window);
// Clicks with XTest at a screen position (button 1 left, 3 right).
void ClickAt(int x, int y, int button = 1);
// Asks the window to close, as a window manager's close button would.
void RequestClose(unsigned long window);

// The samples the board has played so far, interleaved stereo float.
std::vector<float> ReadAudio(const std::string& file, std::size_t fromByte = 0);
std::size_t FileSize(const std::string& file);

}  // namespace tavrik::e2e
