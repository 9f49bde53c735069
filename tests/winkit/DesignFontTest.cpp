// The design font as the locale has it (the test runs under C.UTF-8 and
// ja_JP.UTF-8): asked for by the name Qt's font database lists for the face
// there, so that Qt finds it exactly and no file is loaded a second time.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>

#include "winkit/DesignFont.h"

class DesignFontTest : public QObject {
  Q_OBJECT

 private slots:
  void askedForByTheNameQtKnows() {
    const QFont font = vornel::DesignFont();
    QCOMPARE(font.family(), qEnvironmentVariable("VORNEL_DESIGN_FAMILY"));
    QVERIFY(QFontDatabase::families().contains(font.family()));
    QVERIFY(QFontInfo(font).exactMatch());
    QVERIFY(QFontDatabase::applicationFontFamilies(0).isEmpty());
    // IPAGothic at 12 pixels.
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("爆")), 12);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("ｹ")), 6);
    QCOMPARE(metrics.height(), 13);
  }
};

QTEST_MAIN(DesignFontTest)
#include "DesignFontTest.moc"
