#include "app/mdlMain.h"

#include <QApplication>
#include <QList>

#include <cstdio>
#include <cstdlib>

#include "app/frmMain.h"
#include "winkit/DesignFont.h"
#include "winkit/LazyStyleIcons.h"

namespace vornel {

namespace {

// What Qt says while it opens the display, held back: when no display can
// be opened, Qt's several lines and abort give way to one line and status 1.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};
QList<HeldMessage>* held = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fputs("vornel: 画面を開けません / cannot open a display\n", stderr);
    std::_Exit(1);
  }
  held->append({type, context.category, text});
}

}  // namespace

int Main(int argc, char** argv, const std::function<void(frmMain&)>& shown,
         const MainDependencies& deps) {
  QList<HeldMessage> messages;
  held = &messages;
  const QtMessageHandler previous = qInstallMessageHandler(HoldMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);
  for (const HeldMessage& m : messages)
    qt_message_output(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category.constData()), m.text);
  QApplication::setApplicationName(QStringLiteral("Vornel"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(VORNEL_VERSION_MAJOR)
                                          .arg(VORNEL_VERSION_MINOR)
                                          .arg(VORNEL_VERSION_PATCH));
  UseLazyStyleIcons();
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
