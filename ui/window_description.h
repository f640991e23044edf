#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrik {

// The kinds of control a window description can hold.
enum class ControlKind {
  PictureBox,
  DrawingPanel,
  PushButton,
  PageContainer,  // pages without visible tabs
  Page,
  TrackBar,
  TransparentLabel,
  Label,
  ComboBox,
  EditBox,
  WebBrowser,
  RadioButton,
  CheckBox,
};

// One control: its name is unique within its window and becomes the widget's
// objectName. Places are relative to the parent (the window or a page).
struct ControlDescription {
  ControlKind kind;
  std::string name;
  std::string parent;  // empty: the window itself
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string caption;
  int fontPixels = 0;     // 0: the default font
  std::string fontFace;   // empty: the default face
  unsigned textColour = 0xFFFFFFFF;  // COLORREF 0x00BBGGRR; all ones: default
  bool visible = true;
  // Track bar range and steps.
  int minimum = 0;
  int maximum = 0;
  int pageStep = 0;
  int lineStep = 0;
  bool listOnly = false;  // a combo box without an edit field
  std::string tag;        // free text the handlers read
};

// What a control reports to the window's handlers.
enum class ControlEvent {
  Clicked,
  RightButtonReleased,
  PositionChanged,
  ItemSelected,
  FocusGained,
};

struct EventBinding {
  std::string source;  // control name
  ControlEvent event;
};

struct WindowDescription {
  std::string name;
  std::string title;
  int width = 0;
  int height = 0;
  bool minimiseBox = false;
  bool maximiseBox = false;
  unsigned backgroundColour = 0xFFFFFFFF;  // COLORREF; all ones: the skin's
  bool showInTaskbar = true;
  std::vector<ControlDescription> controls;
  std::vector<EventBinding> events;  // events no binding lists are not handled

  const ControlDescription* Find(std::string_view controlName) const;
};

// The board: slot buttons, pages, volume, stop and device list.
const WindowDescription& MainWindowDescription();

// The dialog in which a slot's hotkey is chosen.
const WindowDescription& HotkeyDialogDescription();

// The dialog in which a sound just chosen for a slot is named.
const WindowDescription& NamingDialogDescription();

// Name of slot n's button: "按钮1" to "按钮60".
std::string SlotButtonName(int slot);

// Where slot n's button sits on its page, by the board's formula.
struct SlotPlace {
  int page;  // 1 to 3
  int left;
  int top;
};
SlotPlace SlotButtonPlace(int slot);

}  // namespace tavrik
