#include "play/KeyboardPlay.h"

#include <algorithm>

#include "board/Grid.h"
#include "play/Move.h"

namespace vornel {

Cursor MoveCursor(Cursor cursor, BoardKey key) {
  const auto step = [](int v, int by) { return std::clamp(v + by, 0, kBoardSize - 1); };
  switch (key) {
    case BoardKey::Left: return {step(cursor.x, -1), cursor.y};
    case BoardKey::Right: return {step(cursor.x, 1), cursor.y};
    case BoardKey::Up: return {cursor.x, step(cursor.y, -1)};
    case BoardKey::Down: return {cursor.x, step(cursor.y, 1)};
    default: return cursor;
  }
}

std::optional<Release> ReleaseFor(Cursor cursor, BoardKey key) {
  if (key != BoardKey::Open && key != BoardKey::Mark) return std::nullopt;
  return Release{key == BoardKey::Open ? kLeftButton : kRightButton, CellCentre(cursor.x),
                 CellCentre(cursor.y)};
}

}  // namespace vornel
