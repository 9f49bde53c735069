#include "app/mdlMain.h"

#include <QApplication>

#include "app/frmMain.h"
#include "winkit/DesignFont.h"

namespace vornel {

int Main(int argc, char** argv, const std::function<void(frmMain&)>& shown,
         const MainDependencies& deps) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vornel"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(VORNEL_VERSION_MAJOR)
                                          .arg(VORNEL_VERSION_MINOR)
                                          .arg(VORNEL_VERSION_PATCH));
  QApplication::setFont(DesignFont());

  frmMain window(deps);
  // The program ends when the main window closes, and only then: a tool
  // window does not count as a last window for Qt, and a closing dialog
  // must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(&window, &frmMain::unloaded, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  if (shown) shown(window);
  return QApplication::exec();
}

}  // namespace vornel
