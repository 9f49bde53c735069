#pragma once
// The font the windows' fixed layouts are measured for.

#include <QFont>

class QWidget;

namespace vornel {

// IPAGothic at 12 pixels (9 points at 96 dots per inch): full-width
// characters 12 pixels wide, half-width ones 6, a line 13 high. The same
// face in every locale.
QFont DesignFont();

// Gives `window` the font as its own, so that no font a desktop sets for the
// application or for a kind of widget reaches its menus, labels and buttons.
void UseDesignFont(QWidget* window);

}  // namespace vornel
