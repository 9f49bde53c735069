#include "winkit/Twips.h"

#include "winkit/WindowFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QEvent>
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

namespace {
// Asks for the keyboard whenever a tool window shows: GNOME's and KDE's
// window managers give none to a utility window of their own accord.
class TakesKeyboard : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show)
      static_cast<QWidget*>(watched)->activateWindow();
    return false;
  }
};
}  // namespace

void MakeToolWindow(QWidget* window) {
  window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
  // Only X11 leaves it to the window manager; a Wayland compositor gives a
  // new window the keyboard itself.
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    window->installEventFilter(new TakesKeyboard(window));
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
  const QMargins frame = FrameMargins(window);
  const QSize outer = window->size().grownBy(frame);
  const int tx = TwipsPerPixelX(window);
  const int ty = TwipsPerPixelY(window);
  const int left = CentreOffset(double(screen.width()) * tx, double(outer.width()) * tx);
  const int top = CentreOffset(double(screen.height()) * ty, double(outer.height()) * ty);
  // Placed by its client area, which every platform takes as given.
  const QPoint client(screen.x() + left / tx + frame.left(), screen.y() + top / ty + frame.top());
  window->setGeometry(QRect(client, window->size()));
  // Centred again by the frame it really has, should this one be a guess.
  WhenFrameShown(window, frame, [window] { CentreOnScreen(window); });
}

}  // namespace vornel
