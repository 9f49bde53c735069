#pragma once
// The rows of a table that labels draw, for a player who cannot see them:
// an invisible list over the table that a screen reader reads a row at a
// time, moved through with the arrow keys. It draws nothing and lets the
// mouse through; it takes the focus only while a screen reader listens, so
// the dialog's keys stay as designed for everyone else.

#include <QWidget>
#include <functional>

namespace vornel {

class ReadableRows : public QWidget {
  Q_OBJECT
 public:
  using RowText = std::function<QString(int row)>;

  // `name` names the list; `text` gives row 0 .. rows - 1 its words.
  ReadableRows(QWidget* parent, const QString& name, int rows, RowText text);

  int rows() const { return rows_; }
  QString rowText(int row) const { return text_(row); }
  // The row the arrows have reached.
  int current() const { return current_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void AnnounceCurrent();

  int rows_;
  RowText text_;
  int current_ = 0;
};

}  // namespace vornel
