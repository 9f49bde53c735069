// The overflow buttons' icons fetched from the style when drawn: a menu bar
// is made without loading any image format plugin, and the icons draw as
// the style's own.
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QTest>

#include "winkit/LazyStyleIcons.h"

class LazyStyleIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vornel::UseLazyStyleIcons(); }

  void aMenuBarLoadsNoImageFormatPlugin() {
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("/imageformats/"));
  }

  void theIconsDrawAsTheStylesOwn() {
    const QStyle* own = qobject_cast<QProxyStyle*>(QApplication::style())->baseStyle();
    for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                             QStyle::SP_ToolBarVerticalExtensionButton}) {
      const QIcon lazy = QApplication::style()->standardIcon(which);
      const QIcon expected = own->standardIcon(which);
      QCOMPARE(lazy.availableSizes(), expected.availableSizes());
      for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
        for (const qreal scale : {1.0, 2.0})
          QCOMPARE(lazy.pixmap(QSize(16, 16), scale, mode).toImage(),
                   expected.pixmap(QSize(16, 16), scale, mode).toImage());
    }
  }
};

QTEST_MAIN(LazyStyleIconsTest)
#include "LazyStyleIconsTest.moc"
