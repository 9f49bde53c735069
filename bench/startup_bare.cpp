// The floor for start-up: a bare Qt window with a menu bar and a 372 x 372
// picture, built by the same toolchain.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>

#include "bench/StartupProbe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Quit"));
  auto* picture = new QLabel;
  QImage image(372, 372, QImage::Format_RGB32);
  image.fill(Qt::darkGray);
  picture->setPixmap(QPixmap::fromImage(image));
  window.setCentralWidget(picture);
  new vornel::bench::FirstPaintProbe(picture);
  window.show();
  return QApplication::exec();
}
