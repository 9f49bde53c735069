#pragma once
// Menu items that carry a check mark as the desktop the game was designed
// for draws it: a plain tick beside the checked item, nothing beside the
// others (Qt's own style draws a check box beside every checkable item).

class QMenu;

namespace vornel {

void UsePlainCheckMarks(QMenu* menu);

}  // namespace vornel
