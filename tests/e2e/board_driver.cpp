#include "tests/e2e/board_driver.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

extern char** environ;

namespace tavrik::e2e {

namespace fs = std::filesystem;

RunFolder::RunFolder() {
  std::string pattern = testing::TempDir() + "boardXXXXXX";
  m_path = mkdtemp(pattern.data());
  fs::copy_file(TAVRIK_EXECUTABLE, executable());
  fs::permissions(executable(), fs::perms::owner_all, fs::perm_options::add);
  fs::create_directories(m_path + "/data/zdpf");
  fs::create_directories(m_path + "/mp3");
  fs::create_directories(m_path + "/bin");
  fs::create_directories(m_path + "/runtime");
  fs::permissions(m_path + "/runtime", fs::perms::owner_all, fs::perm_options::replace);
  std::ofstream opener(m_path + "/bin/xdg-open");
  opener << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << openedFile() << "'\n";
  opener.close();
  fs::permissions(m_path + "/bin/xdg-open", fs::perms::owner_all, fs::perm_options::add);
}

std::map<std::string, std::string> RunFolder::Environment() const {
  std::map<std::string, std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const auto equals = text.find('=');
    if (equals != std::string::npos) {
      environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
  }
  environment["PATH"] = m_path + "/bin:" + environment["PATH"];
  environment["SDL_AUDIODRIVER"] = "disk";
  environment["SDL_DISKAUDIOFILE"] = audioFile();
  environment["QT_QPA_PLATFORM"] = "xcb";
  environment["XDG_CURRENT_DESKTOP"] = "";
  environment["XDG_RUNTIME_DIR"] = m_path + "/runtime";
  environment.erase("BROWSER");
  return environment;
}

Process::Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment) {
  std::vector<std::string> envText;
  for (const auto& [name, value] : environment) {
    envText.push_back(name + "=" + value);
  }
  std::vector<char*> args, envs;
  for (const auto& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  for (auto& e : envText) {
    envs.push_back(e.data());
  }
  envs.push_back(nullptr);
  if (posix_spawn(&m_pid, argv[0].c_str(), nullptr, nullptr, args.data(), envs.data()) != 0) {
    m_pid = -1;
  }
}

Process::~Process() {
  if (m_pid > 0 && !m_ended) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
}

bool Process::Running() {
  if (m_pid <= 0 || m_ended) {
    return false;
  }
  int status = 0;
  if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
    m_ended = true;
    m_status = status;
    return false;
  }
  return true;
}

int Process::WaitForExit(std::chrono::milliseconds timeout) {
  WaitFor([this] { return !Running(); }, timeout);
  if (!m_ended) {
    return -1000;
  }
  return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -WTERMSIG(m_status);
}

std::string Shell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return output;
  }
  char buffer[4096];
  while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
    output.append(buffer, n);
  }
  pclose(pipe);
  while (!output.empty() && output.back() == '\n') {
    output.pop_back();
  }
  return output;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

unsigned long FindWindow(const std::string& pattern, std::chrono::milliseconds timeout) {
  unsigned long window = 0;
  WaitFor(
      [&] {
        const std::string found = Shell("xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null | head -1");
        window = found.empty() ? 0 : std::stoul(found);
        return window != 0;
      },
      timeout);
  return window;
}

bool WindowMapped(unsigned long window) {
  return Shell("xwininfo -id " + std::to_string(window) + " 2>/dev/null | grep -c 'IsViewable'") == "1";
}

Geometry WindowGeometry(unsigned long window) {
  std::istringstream shell(Shell("xdotool getwindowgeometry --shell " + std::to_string(window)));
  Geometry geometry;
  std::string line;
  while (std::getline(shell, line)) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) {
      continue;
    }
    const std::string name = line.substr(0, equals);
    const int value = std::stoi(line.substr(equals + 1));
    if (name == "X") geometry.x = value;
    if (name == "Y") geometry.y = value;
    if (name == "WIDTH") geometry.width = value;
    if (name == "HEIGHT") geometry.height = value;
  }
  return geometry;
}

void ClickAt(int x, int y, int button) {
  Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
      std::to_string(button));
}

std::size_t FileSize(const std::string& file) {
  struct stat status {};
  return stat(file.c_str(), &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
}

std::vector<float> ReadAudio(const std::string& file, std::size_t fromByte) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(fromByte));
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

}  // namespace tavrik::e2e
