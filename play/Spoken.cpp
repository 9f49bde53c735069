#include "play/Spoken.h"

namespace vornel {

QString CellName(Cell code) {
  if (isCount(code)) return QString(QLatin1Char(code));
  switch (code) {
    case 'a': return QStringLiteral("空白");
    case 'b': return QStringLiteral("未開封");
    case 'c': return QStringLiteral("爆弾");
    case 'd': return QStringLiteral("はてなマーク");
    case 'e': return QStringLiteral("爆弾マーク");
    case 'f': return QStringLiteral("踏んだ爆弾");
    default: return QStringLiteral("空白");  // no tile: the open background shows
  }
}

QString CellText(const Grid& shown, int x, int y) {
  return QStringLiteral("%1 %2行%3列").arg(CellName(shown.at(x, y))).arg(y + 1).arg(x + 1);
}

QString MoveText(const Grid& before, const Grid& after, bool lost) {
  if (lost) return CellName('f') + QStringLiteral(" ゲームオーバー");
  int changed = 0;
  Cell last = kEmpty;
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x)
      if (before.at(x, y) != after.at(x, y)) {
        ++changed;
        last = after.at(x, y);
      }
  if (changed == 0) return {};
  if (changed == 1) return CellName(last);
  // Only an empty cell opens more than itself.
  return CellName('a') + QStringLiteral(" %1マス開きました").arg(changed);
}

QString EdgeText(BoardKey key) {
  switch (key) {
    case BoardKey::Left: return QStringLiteral("左端");
    case BoardKey::Right: return QStringLiteral("右端");
    case BoardKey::Up: return QStringLiteral("上端");
    case BoardKey::Down: return QStringLiteral("下端");
    default: return {};
  }
}

QString StatusText(const QString& level, int bombs, GamePhase phase, const Grid& shown,
                   const QString& elapsed) {
  QString text = QStringLiteral("%1 爆弾%2個").arg(level).arg(bombs);
  if (phase == GamePhase::Title) return text + QStringLiteral(" ゲーム開始前");
  int marks = 0;
  for (int y = 0; y < kBoardSize; ++y)
    for (int x = 0; x < kBoardSize; ++x) marks += shown.is(x, y, 'e') ? 1 : 0;
  text += QStringLiteral(" マーク%1個").arg(marks);
  if (phase == GamePhase::Over) return text + QStringLiteral(" ゲーム終了");
  return text + QStringLiteral(" 経過時間 ") + elapsed;
}

}  // namespace vornel
