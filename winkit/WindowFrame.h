#pragma once
// The frame that the window manager draws around a top-level window.

#include <QMargins>
#include <functional>

class QWidget;

namespace vornel {

// The frame's width on each side, in the window's own (logical) pixels.
// Known before the window is first shown, so that the first picture is
// placed right: on X11 from a shown window of the same kind, or else from an
// iconic twin that the window manager frames without showing it. Elsewhere
// what the platform reports, none where windows have no frame (offscreen) or
// are placed by the compositor.
QMargins FrameMargins(QWidget* window);

// Starts learning, on X11, the frame of windows of `window`'s kind, so that
// the window manager frames the twin while the window is still being built;
// FrameMargins then waits only for what is left. For a window that will be
// shown at a fixed size, before that size is set; FrameMargins must follow.
void ExpectFrame(QWidget* window);

// A manager not yet running or too slow to frame the twin in time (one
// starting with the game, a busy machine) leaves FrameMargins a guess. Then,
// on X11, once `window` is shown with its own frame, `replace` is called if
// that frame differs from `used` and the window has not been moved meanwhile.
// Nothing otherwise.
void WhenFrameShown(QWidget* window, const QMargins& used, std::function<void()> replace);

}  // namespace vornel
