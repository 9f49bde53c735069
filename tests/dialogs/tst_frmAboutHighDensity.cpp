// The version dialog's icon on a screen of twice the density: its pixels
// stay sharp 2 x 2 blocks.

#include <QtTest>

#include "assets/Assets.h"
#include "dialogs/frmAbout.h"
#include "tests/winkit/SharpBlocks.h"

using namespace vornel;
using vornel::test::ShowsAsSharpBlocks;

class AboutHighDensityTest : public QObject {
  Q_OBJECT

 private slots:
  void versionDialogIconScalesWithoutBlur() {
    const QImage icon = AppIconPicture().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(icon.size(), QSize(32, 32));
    frmAbout about(QStringLiteral("Vornel Ver" VORNEL_VERSION), icon);
    about.show();
    auto* picture = about.findChild<QWidget*>(QStringLiteral("Picture1"));
    QVERIFY(ShowsAsSharpBlocks(picture->grab(), icon, {4, 4}));
  }
};

QTEST_MAIN(AboutHighDensityTest)
#include "tst_frmAboutHighDensity.moc"
