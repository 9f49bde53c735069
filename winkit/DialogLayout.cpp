#include "winkit/DialogLayout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace vornel {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect designed,
                 bool sizedToText) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setText(text);
  const QSize hint = label->sizeHint();
  if (sizedToText) {
    label->setGeometry(QRect(designed.topLeft(), hint));
  } else {
    designed.setWidth(std::max(designed.width(), hint.width()));
    designed.setHeight(std::max(designed.height(), hint.height()));
    label->setGeometry(designed);
  }
  return label;
}

namespace {
// A command button as the desktop it was designed for has them: the button
// that holds the focus takes Enter as well as Space. Qt's buttons take Enter
// only as the dialog's default button.
class CommandButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};
}  // namespace

QPushButton* AddButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* button = new CommandButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace vornel
