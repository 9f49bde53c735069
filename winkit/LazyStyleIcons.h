#pragma once
// The application's style, as the desktop chooses it, with one difference
// no one sees: the icon of a menu bar's or tool bar's overflow button is
// taken from the style when it is first drawn, not when the bar is made.
// The game's menu bar always fits its window, so the button never shows,
// and Qt reads that icon from PNG files, loading every image format plugin
// installed to do so (some 4 million instructions of start-up).

namespace vornel {

// Once, after the QApplication is made and before the first window.
void UseLazyStyleIcons();

}  // namespace vornel
