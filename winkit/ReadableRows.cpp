#include "winkit/ReadableRows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <algorithm>
#include <utility>
#include <vector>

#include "winkit/AccessibleLeaf.h"
#include "winkit/SpokenNote.h"

namespace vornel {

namespace {

class RowsAccessible;

// One row, made with the list and living as long as it.
class RowAccessible : public AccessibleLeaf {
 public:
  RowAccessible(RowsAccessible* list, int row) : list_(list), row_(row) {}

  bool isValid() const override;
  QAccessibleInterface* parent() const override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override;

 private:
  RowsAccessible* list_;
  int row_;
};

class RowsAccessible : public QAccessibleWidget {
 public:
  explicit RowsAccessible(ReadableRows* rows) : QAccessibleWidget(rows, QAccessible::List) {
    for (int row = 0; row < rows->rows(); ++row) {
      items_.push_back(new RowAccessible(this, row));
      ids_.push_back(QAccessible::registerAccessibleInterface(items_.back()));
    }
  }
  ~RowsAccessible() override {
    for (const QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
  }

  ReadableRows* rows() const { return static_cast<ReadableRows*>(widget()); }
  QAccessibleInterface* item(int row) const { return items_[std::size_t(row)]; }

  int childCount() const override { return int(items_.size()); }
  QAccessibleInterface* child(int index) const override {
    return index >= 0 && index < childCount() ? item(index) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto found = std::find(items_.begin(), items_.end(), child);
    return found == items_.end() ? -1 : int(found - items_.begin());
  }
  QAccessibleInterface* focusChild() const override {
    return rows()->hasFocus() ? item(rows()->current()) : nullptr;
  }

 private:
  std::vector<RowAccessible*> items_;
  std::vector<QAccessible::Id> ids_;
};

bool RowAccessible::isValid() const { return list_->isValid(); }
QAccessibleInterface* RowAccessible::parent() const { return list_; }

QString RowAccessible::text(QAccessible::Text t) const {
  return t == QAccessible::Name ? list_->rows()->rowText(row_) : QString();
}

QRect RowAccessible::rect() const {
  const QRect all = list_->rect();
  const int rows = list_->rows()->rows();
  return {all.x(), all.y() + all.height() * row_ / rows, all.width(), all.height() / rows};
}

QAccessible::State RowAccessible::state() const {
  QAccessible::State s;
  s.focusable = true;
  s.focused = list_->rows()->hasFocus() && list_->rows()->current() == row_;
  return s;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("vornel::ReadableRows") && object->isWidgetType())
    return new RowsAccessible(static_cast<ReadableRows*>(object));
  return nullptr;
}

}  // namespace

ReadableRows::ReadableRows(QWidget* parent, const QString& name, int rows, RowText text)
    : QWidget(parent), rows_(rows), text_(std::move(text)) {
  static const bool installed = (QAccessible::installFactory(Factory), true);
  (void)installed;
  setAccessibleName(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(ScreenReaderListens() ? Qt::TabFocus : Qt::NoFocus);
}

void ReadableRows::keyPressEvent(QKeyEvent* event) {
  int to = current_;
  switch (event->key()) {
    case Qt::Key_Up: to = current_ - 1; break;
    case Qt::Key_Down: to = current_ + 1; break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = rows_ - 1; break;
    default: QWidget::keyPressEvent(event); return;
  }
  to = std::clamp(to, 0, rows_ - 1);
  if (to == current_) return;
  current_ = to;
  AnnounceCurrent();
}

void ReadableRows::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  // After Qt's word of the list's own focus, or a screen reader stays on it.
  QMetaObject::invokeMethod(this, &ReadableRows::AnnounceCurrent, Qt::QueuedConnection);
}

void ReadableRows::AnnounceCurrent() {
  if (!hasFocus() || !ScreenReaderListens()) return;
  auto* list = dynamic_cast<RowsAccessible*>(QAccessible::queryAccessibleInterface(this));
  if (list == nullptr) return;
  QAccessibleEvent event(list->item(current_), QAccessible::Focus);
  QAccessible::updateAccessibility(&event);
}

}  // namespace vornel
