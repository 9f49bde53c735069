#pragma once
// Window geometry in twips (1/1440 inch), the unit the window design uses
// for outer sizes and positions, and the tool-window look all our windows
// share.

class QWidget;

namespace vornel {

// Twips per pixel for a display of `dotsPerInch`, as a whole number
// (15 at 96 dpi, 12 at 120 dpi).
int TwipsPerPixel(double dotsPerInch);

// Outer size that gives a client area of `target` pixels: the current outer
// size minus the current client size plus the target, all in twips. The
// product target * twipsPerPixel is formed in 16 bits, as designed.
int OuterForClient(double outerTwips, int clientPixels, int twipsPerPixel, int target);

// (screen - window) / 2 in twips, rounded to a whole number first and then
// halved with truncation toward zero (255 -> 127, -5 -> -2).
int CentreOffset(double screenTwips, double windowTwips);

// Fixed-size tool window: small title bar, close box only, no task-bar button.
void MakeToolWindow(QWidget* window);

// Moves `window` so its outer frame, the window manager's frame included,
// is centred on its screen; before the first show too.
void CentreOnScreen(QWidget* window);

// The twips-per-pixel factors of the screen `window` is on.
int TwipsPerPixelX(const QWidget* window);
int TwipsPerPixelY(const QWidget* window);

}  // namespace vornel
