#pragma once
// The frame that the window manager draws around a top-level window.

#include <QMargins>

class QWidget;

namespace vornel {

// The frame's width on each side, in the window's own (logical) pixels.
// Known before the window is first shown where the window manager can tell
// it (on X11 it is asked for with _NET_REQUEST_FRAME_EXTENTS), so that the
// first picture is placed right; elsewhere what the platform reports, none
// where windows have no frame (offscreen) or are placed by the compositor.
QMargins FrameMargins(QWidget* window);

}  // namespace vornel
