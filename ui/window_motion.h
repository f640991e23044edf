#pragma once

class QWidget;

namespace tavrik {

// A window's show state as the board sets it: 0 normal, 1 normal and
// centred on the screen, 2 minimised, 3 maximised. Setting it changes nothing
// while the window is hidden.
void SetShowState(QWidget* window, int state);
int ShowState(const QWidget* window);

// Runs the window diagonally away in 255 steps without pause, then restores
// its normal state and hides it. With no tray to come back from, it is
// minimised instead of hidden, so it stays reachable.
void SlideAwayHide(QWidget* window, bool trayAvailable);

}  // namespace tavrik
