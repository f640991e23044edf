#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// The stored slot path `stored` moved into this installation's sound folder:
// run directory + "/mp3/" + the part after the last "\" or "/" (all of it
// when it holds neither). A path written on Windows migrates the same way.
std::string RerootedSlotPath(std::string_view runDirectory, std::string_view stored);

// Rewrites keys "1" to "61" of the path file so that every slot points into
// this installation's sound folder; a missing key becomes the folder itself.
void RerootSlotPaths(const std::string& runDirectory);

// The executable file names of the running processes, as the process list
// shows them.
std::vector<std::string> RunningExecutableNames();

// True when two or more running processes carry `ownName` (case counts),
// this one included.
bool AnotherInstanceRuns(const std::vector<std::string>& runningNames, std::string_view ownName);

// This process's executable file name, without its folder.
std::string OwnExecutableName();

}  // namespace tavrik
