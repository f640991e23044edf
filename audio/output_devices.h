#pragma once

#include <string>
#include <vector>

namespace tavrik {

class AudioLibrary;

struct OutputDevice {
  std::string name;
  int number = 0;  // the library's device number; the list position is number - 1
};

// Every device the library names among 1 to 128; a gap does not end the search.
std::vector<OutputDevice> ListOutputDevices(AudioLibrary& library);

// Opens the device stored in the configuration file (the system default when
// none is stored) and returns the list position to show, before clamping.
int OpenStoredDevice(AudioLibrary& library, const std::string& runDirectory);

// Re-opens the library on `deviceNumber` (-1 when no item is selected) and
// stores the choice. Every stream is released on the way.
void ChangeOutputDevice(AudioLibrary& library, const std::string& runDirectory, int deviceNumber);

// The list position a request selects: past the end gives the last item,
// below 0 gives -1, nothing selected.
int ClampListPosition(int position, int itemCount);

}  // namespace tavrik
