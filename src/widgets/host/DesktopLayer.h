#pragma once

class QWidget;

namespace harborlite {

// Puts widget windows on the desktop layer of an X11 session. Elsewhere (the
// offscreen platform, Wayland) windows stay as Qt makes them: frameless and
// kept below others by their flags.
namespace DesktopLayer {

// True when this is an X11 session with a compositing manager, so windows may
// be translucent and have soft corners.
bool canBlend();

// Marks the top-level `window` as part of the desktop: the desktop window type,
// below every other window, on every workspace, left out of task bars and
// pagers. Call before the window is first shown; it creates the native window.
void keepOnDesktop(QWidget* window);

} // namespace DesktopLayer

} // namespace harborlite
