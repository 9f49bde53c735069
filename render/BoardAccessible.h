#pragma once
// The board to assistive technology: a table of 16 rows and 16 columns
// whose cells are named after what they show, in short Japanese words.

#include <QAccessible>
#include <QString>

#include "board/Grid.h"

namespace vornel {

class ScreenBox;

// What a cell showing `code` is called: "未開封", "爆弾マーク",
// "はてなマーク", "空白", the count's digit, "爆弾", "踏んだ爆弾".
QString CellName(Cell code);

// Lets Qt describe every ScreenBox as that table; once per program.
void InstallBoardAccessible();

// Tells assistive technology, if any listens, that cell (x, y) of `board`
// has a new name or has the focus.
void AnnounceCell(ScreenBox* board, int x, int y, QAccessible::Event what);

}  // namespace vornel
