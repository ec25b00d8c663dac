#pragma once

class QWidget;

// The few X11 window manager hints the character windows need, through xcb-ewmh. Every
// call does nothing when the program does not run on X11.
namespace X11WindowHints {

bool available();
// Keeps the window off the task bar and pager. Call after show(): the window manager takes
// the request only once it manages the window, so it is repeated a few times after mapping.
void skipTaskbar(QWidget *window);
// True when a compositing manager owns the screen, so ARGB windows blend.
bool compositorRunning();

} // namespace X11WindowHints
