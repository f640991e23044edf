#pragma once

#include <string>

class QWidget;

namespace tavrik {

// Fills the place of the embedded page with the page at `address`, once: a
// web view where the build has one, otherwise a link that opens the browser.
// Made when the search page is first shown, so that start-up stays light.
void EnsureKeynotePage(QWidget* place, const std::string& address);

}  // namespace tavrik
