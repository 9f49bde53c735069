#include "winkit/LazyStyleIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>

namespace vornel {

namespace {

class LazyStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override;
};

// Stands for the style's icon `which` and fetches it when first used.
class LazyIconEngine : public QIconEngine {
 public:
  LazyIconEngine(QStyle::StandardPixmap which, const QWidget* widget)
      : which_(which), widget_(const_cast<QWidget*>(widget)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return icon().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return icon().availableSizes(mode, state);
  }
  bool isNull() override { return icon().isNull(); }
  QString key() const override { return QStringLiteral("vornel.lazy"); }
  QIconEngine* clone() const override { return new LazyIconEngine(*this); }

 private:
  const QIcon& icon() {
    if (!loaded_) {
      // The style of the moment: the one that made this may be gone.
      const QStyle* style = QApplication::style();
      if (const auto* lazy = dynamic_cast<const LazyStyle*>(style)) style = lazy->baseStyle();
      icon_ = style->standardIcon(which_, nullptr, widget_);
      loaded_ = true;
    }
    return icon_;
  }

  QStyle::StandardPixmap which_;
  QPointer<QWidget> widget_;  // for the style to look at, as Qt asked
  QIcon icon_;
  bool loaded_ = false;
};

QIcon LazyStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                              const QWidget* widget) const {
  if (option == nullptr &&
      (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton))
    return QIcon(new LazyIconEngine(which, widget));
  return QProxyStyle::standardIcon(which, option, widget);
}

}  // namespace

void UseLazyStyleIcons() {
  // Without a base, the proxy makes the style QApplication would have made:
  // the one given by -style, or else the desktop's.
  QApplication::setStyle(new LazyStyle);
}

}  // namespace vornel
