#include "winkit/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <cstdint>

namespace vornel {

int TwipsPerPixel(double dotsPerInch) {
  return static_cast<int>(std::lround(1440.0 / dotsPerInch));
}

int OuterForClient(double outerTwips, int clientPixels, int twipsPerPixel, int target) {
  const auto product = static_cast<std::int16_t>(target * twipsPerPixel);
  const float outer = static_cast<float>(outerTwips) -
                      static_cast<float>(clientPixels) * static_cast<float>(twipsPerPixel) +
                      static_cast<float>(product);
  return static_cast<int>(std::lround(outer));
}

int CentreOffset(double screenTwips, double windowTwips) {
  const auto whole = static_cast<long>(std::lround(screenTwips - windowTwips));
  return static_cast<int>(whole / 2);  // C++ division truncates toward zero
}

void MakeToolWindow(QWidget* window) {
  window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
}

namespace {
QScreen* ScreenOf(const QWidget* window) {
  QScreen* screen = window->screen();
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}
}  // namespace

int TwipsPerPixelX(const QWidget* window) {
  return TwipsPerPixel(ScreenOf(window)->logicalDotsPerInchX());
}

int TwipsPerPixelY(const QWidget* window) {
  return TwipsPerPixel(ScreenOf(window)->logicalDotsPerInchY());
}

void CentreOnScreen(QWidget* window) {
  const QRect screen = ScreenOf(window)->geometry();
  const QRect frame = window->frameGeometry();
  const int tx = TwipsPerPixelX(window);
  const int ty = TwipsPerPixelY(window);
  const int left = CentreOffset(double(screen.width()) * tx, double(frame.width()) * tx);
  const int top = CentreOffset(double(screen.height()) * ty, double(frame.height()) * ty);
  window->move(screen.x() + left / tx, screen.y() + top / ty);
}

namespace {
class FirstShowCentring : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      CentreOnScreen(static_cast<QWidget*>(watched));
      watched->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }
};
}  // namespace

void CentreWhenShown(QWidget* window) {
  CentreOnScreen(window);
  window->installEventFilter(new FirstShowCentring(window));
}

}  // namespace vornel
