#include "winkit/DialogLayout.h"

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

QPushButton* AddButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace vornel
