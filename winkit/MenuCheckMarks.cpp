#include "winkit/MenuCheckMarks.h"

#include <QMenu>
#include <QProxyStyle>
#include <QStyleOption>

namespace vornel {

namespace {
class PlainCheckMarkStyle : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element != PE_IndicatorCheckBox || qobject_cast<const QMenu*>(widget) == nullptr) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    if (!(option->state & State_On)) return;
    // The tick takes the colour of the item's text, highlighted or not; the
    // common style would draw a checked tick in the highlighted colour.
    QStyleOption mark(*option);
    const QColor ink = option->palette.color(
        option->state & State_Selected ? QPalette::HighlightedText : QPalette::Text);
    mark.palette.setColor(QPalette::Text, ink);
    mark.palette.setColor(QPalette::HighlightedText, ink);
    QProxyStyle::drawPrimitive(PE_IndicatorMenuCheckMark, &mark, painter, widget);
  }
};
}  // namespace

void UsePlainCheckMarks(QMenu* menu) {
  auto* style = new PlainCheckMarkStyle;
  style->setParent(menu);
  menu->setStyle(style);
}

}  // namespace vornel
