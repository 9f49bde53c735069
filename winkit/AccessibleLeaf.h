#pragma once

#include <QAccessibleInterface>

namespace vornel {

// A part of a widget that a screen reader reads on its own but that is no
// object and has no parts: a row of a list, a cell of a board. The widget's
// interface makes its leaves and answers for them.
class AccessibleLeaf : public QAccessibleInterface {
 public:
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}
};

}  // namespace vornel
