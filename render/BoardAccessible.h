#pragma once
// The board to assistive technology: a drawn board (a canvas) that holds a
// table of 16 rows and 16 columns of cells, each named after what it shows
// and where it lies, in short Japanese words.

#include <QAccessible>

namespace vornel {

class ScreenBox;

// Lets Qt describe every ScreenBox so; once per program.
void InstallBoardAccessible();

// Tells assistive technology, if any listens, that cell (x, y) of `board`
// has a new name or has the focus.
void AnnounceCell(ScreenBox* board, int x, int y, QAccessible::Event what);

}  // namespace vornel
