#pragma once

#include <string>
#include <string_view>

namespace tavrik {

// Binding a file to a slot in two steps: the chosen file is copied to the
// temporary sound file, then moved to mp3/ + name + ".mp3" once the user has
// named it. A move never replaces a file, so names in mp3/ stay unique.

// Copies `chosen` over the temporary sound file; false when it could not.
bool CopyToTemporarySoundFile(const std::string& runDirectory, const std::string& chosen);

enum class NameProblem {
  None,
  Empty,        // nothing typed
  Separator,    // holds "/" or "\"
  DotName,      // "." or ".."
  Unusable,     // control characters, or too long for a file name
};

// Whether `name` can become a file in mp3/ (and a line of the settings files).
NameProblem CheckSoundName(std::string_view name);

enum class AssignResult {
  Assigned,
  NameTaken,  // the move failed: the name is in use, or there is nothing to move
  Refused,    // CheckSoundName found a problem; nothing was touched
};

// Moves the temporary sound file to mp3/ + name + ".mp3" without replacing
// anything, then stores the path and the title of `slot`.
AssignResult ConfirmSoundName(const std::string& runDirectory, int slot, const std::string& name);

}  // namespace tavrik
