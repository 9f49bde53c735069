#include "render/BoardAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <array>
#include <memory>

#include "play/Spoken.h"
#include "render/BoardPainter.h"
#include "render/ScreenBox.h"
#include "render/Surface.h"
#include "winkit/AccessibleLeaf.h"
#include "winkit/SpokenNote.h"

namespace vornel {

namespace {

constexpr int kCells = kBoardSize * kBoardSize;

class BoardTable;

// One cell, made once per table and living as long as it.
class CellAccessible : public AccessibleLeaf, public QAccessibleTableCellInterface {
 public:
  CellAccessible(BoardTable* table, int x, int y) : table_(table), x_(x), y_(y) {}

  bool isValid() const override;
  QAccessibleInterface* parent() const override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface
               ? static_cast<QAccessibleTableCellInterface*>(this)
               : nullptr;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return x_; }
  int rowIndex() const override { return y_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override;

 private:
  BoardTable* table_;
  int x_, y_;
};

// A canvas, not a table: a screen reader reads a whole row of a table each
// time the cursor changes rows. The table interface still gives every cell
// its row and column.
class BoardTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit BoardTable(ScreenBox* board) : QAccessibleWidget(board, QAccessible::Canvas) {}
  ~BoardTable() override {
    if (cells_[0] == nullptr) return;
    for (const QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
  }

  ScreenBox* board() const { return static_cast<ScreenBox*>(widget()); }
  CellAccessible* cell(int x, int y) const { return cells()[y * kBoardSize + x]; }

  int childCount() const override { return kCells; }
  QAccessibleInterface* child(int index) const override {
    return index >= 0 && index < kCells ? cells()[index] : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int n = 0; n < kCells; ++n)
      if (cells()[n] == child) return n;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (CellAccessible* c : cells())
      if (c->rect().contains(x, y)) return c;
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    return board()->hasFocus() ? cell(board()->cursor().x, board()->cursor().y) : nullptr;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return Grid::onBoard(column, row) ? cell(column, row) : nullptr;
  }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  QString columnDescription(int column) const override {
    return QStringLiteral("%1列").arg(column + 1);
  }
  QString rowDescription(int row) const override { return QStringLiteral("%1行").arg(row + 1); }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return kBoardSize; }
  int rowCount() const override { return kBoardSize; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  // Made when assistive technology first asks for a cell, not when Qt
  // describes the board as the window is built: most players have none.
  const std::array<CellAccessible*, kCells>& cells() const {
    if (cells_[0] == nullptr) {
      auto* self = const_cast<BoardTable*>(this);
      for (int n = 0; n < kCells; ++n) {
        cells_[n] = new CellAccessible(self, n % kBoardSize, n / kBoardSize);
        ids_[n] = QAccessible::registerAccessibleInterface(cells_[n]);
      }
    }
    return cells_;
  }

  mutable std::array<CellAccessible*, kCells> cells_{};
  mutable std::array<QAccessible::Id, kCells> ids_{};
};

bool CellAccessible::isValid() const { return table_->isValid(); }
QAccessibleInterface* CellAccessible::parent() const { return table_; }
QAccessibleInterface* CellAccessible::table() const { return table_; }

QString CellAccessible::text(QAccessible::Text t) const {
  if (t != QAccessible::Name) return {};
  return CellText(table_->board()->shownGrid(), x_, y_);
}

QRect CellAccessible::rect() const {
  const ScreenBox* board = table_->board();
  const QPoint corner = board->contentsRect().topLeft() + CellOrigin(x_, y_);
  return QRect(board->mapToGlobal(corner), QSize(kTileSize, kTileSize));
}

QAccessible::State CellAccessible::state() const {
  QAccessible::State s;
  s.focusable = true;
  const ScreenBox* board = table_->board();
  s.focused = board->hasFocus() && board->cursor() == Cursor{x_, y_};
  return s;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("vornel::ScreenBox") && object->isWidgetType())
    return new BoardTable(static_cast<ScreenBox*>(object));
  return nullptr;
}

}  // namespace

void InstallBoardAccessible() {
  static const bool installed = (QAccessible::installFactory(Factory), true);
  (void)installed;
}

void AnnounceCell(ScreenBox* board, int x, int y, QAccessible::Event what) {
  if (!ScreenReaderListens()) return;
  auto* table = dynamic_cast<BoardTable*>(QAccessible::queryAccessibleInterface(board));
  if (table == nullptr) return;
  QAccessibleEvent event(table->cell(x, y), what);
  QAccessible::updateAccessibility(&event);
}

}  // namespace vornel
