#pragma once

class QWidget;

// The few X11 window manager hints the character windows need, through xcb-ewmh. Every
// call does nothing when the program does not run on X11.
namespace X11WindowHints {

bool available();
// Keeps the window off the task bar and pager. Set after show(): before it does not stick.
void skipTaskbar(QWidget *window);
// True when a compositing manager owns the screen, so ARGB windows blend.
bool compositorRunning();

} // namespace X11WindowHints
