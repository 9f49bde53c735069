#pragma once
// What a screen reader says of the board, in short Japanese phrases: a cell
// by what it shows and where it lies, what a move did, the edge that
// stopped the cursor, and where the game stands. The windows hand these to
// the screen reader; nothing here is drawn.

#include <QString>

#include "board/Grid.h"
#include "play/KeyboardPlay.h"

namespace vornel {

// What a cell showing `code` is called: "未開封", "爆弾マーク",
// "はてなマーク", "空白", the count's digit, "爆弾", "踏んだ爆弾".
QString CellName(Cell code);

// A cell as the cursor meets it: its name, then its row and its column,
// counted from 1 ("未開封 3行12列").
QString CellText(const Grid& shown, int x, int y);

// What a move changed between two boards: the new name of the one cell it
// changed, the number of cells an empty cell opened, or the bomb that lost
// the game. Empty when it changed nothing.
QString MoveText(const Grid& before, const Grid& after, bool lost);

// The edge an arrow stopped at: "左端", "右端", "上端", "下端".
QString EdgeText(BoardKey key);

enum class GamePhase { Title, Running, Over };

// Where the game stands: the level and its bombs, then the bomb marks on
// `shown` and the elapsed time while a game runs, or that none has started
// or that it is over ("普通 爆弾30個 マーク3個 経過時間 0:01:23").
QString StatusText(const QString& level, int bombs, GamePhase phase, const Grid& shown,
                   const QString& elapsed);

}  // namespace vornel
