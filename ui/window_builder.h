#pragma once

#include "ui/window_description.h"

#include <QString>
#include <functional>
#include <map>
#include <string>

class QWidget;

namespace tavrik {

// A window made from its description; controls are found by their names.
class BuiltWindow {
public:
  QWidget* window = nullptr;
  QWidget* Control(const std::string& name) const;

  template <typename T>
  T* Control(const std::string& name) const {
    return qobject_cast<T*>(Control(name));
  }

  std::map<std::string, QWidget*> controls;
};

// Called for every event the description binds: source control, event, and
// the event's number (a slider position, a list position) or 0.
using EventSink = std::function<void(const std::string& source, ControlEvent event, int value)>;

// Creates the window and its controls, hidden, and connects exactly the
// events the description lists to `sink`.
BuiltWindow BuildWindow(const WindowDescription& description, QWidget* window, EventSink sink);

// COLORREF (0x00BBGGRR) as a style-sheet colour.
QString ColourName(unsigned colorref);

}  // namespace tavrik
