#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <array>

#include "assets/Assets.h"
#include "assets/SheetPainter.h"

using namespace vornel;
using namespace vornel::sheet;

namespace {

QString Committed(const char* name) {
  return QStringLiteral(VORNEL_ASSETS_DIR "/") + QString::fromLatin1(name);
}

QImage LoadRgb32(const QString& path) { return QImage(path).convertToFormat(QImage::Format_RGB32); }

// The first position where two images differ, for a readable failure.
QString FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size())
    return QStringLiteral("size %1x%2 vs %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QStringLiteral("pixel (%1, %2): %3 vs %4")
            .arg(x)
            .arg(y)
            .arg(a.pixel(x, y), 8, 16, QLatin1Char('0'))
            .arg(b.pixel(x, y), 8, 16, QLatin1Char('0'));
  return {};
}

bool IsGrey(QRgb c, int level) { return qRed(c) == level && qGreen(c) == level && qBlue(c) == level; }

QImage Tile(const QImage& sheet, QPoint origin) { return sheet.copy(origin.x(), origin.y(), kTileSize, kTileSize); }

// The right column and bottom row of a tile on an open ground: two light
// pixels, two dark, starting light.
void CheckDashedEdges(const QImage& tile, const char* what) {
  for (int i = 0; i < kTileSize; ++i) {
    const bool light = (i / 2) % 2 == 0;
    for (QRgb c : {tile.pixel(kTileSize - 1, i), tile.pixel(i, kTileSize - 1)}) {
      const int v = qGray(c);
      QVERIFY2(light ? v >= 130 : v < 100, qPrintable(QStringLiteral("%1 edge pixel %2").arg(QLatin1String(what)).arg(i)));
    }
  }
}

}  // namespace

class AssetsTest : public QObject {
  Q_OBJECT

 private slots:
  void committedFilesAreWhatThePainterDraws_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QImage>("painted");
    QTest::newRow("sheet") << Committed(kTileSheetFile) << PaintTileSheet();
    QTest::newRow("icon32") << Committed(kIcon32File) << PaintIcon32();
    QTest::newRow("icon16") << Committed(kIcon16File) << PaintIcon16();
    for (int size : kLargeIconSizes)
      QTest::newRow(qPrintable(IconFile(size))) << Committed(qPrintable(IconFile(size))) << PaintIcon(size);
    // Drawn by Qt's SVG plugin at its own size.
    QTest::newRow("svg") << Committed(kIconSvgFile) << PaintIcon32();
  }
  void committedFilesAreWhatThePainterDraws() {
    QFETCH(QString, file);
    QFETCH(QImage, painted);
    const QImage committed = LoadRgb32(file);
    QVERIFY2(!committed.isNull(), qPrintable(file));
    const QString diff = FirstDifference(committed, painted);
    QVERIFY2(diff.isEmpty(), qPrintable(file + QStringLiteral(" is stale, redraw it: ") + diff));
  }

  void committedFileFormats() {
    const QImage sheet(Committed(kTileSheetFile));
    QCOMPARE(sheet.size(), QSize(kSheetSize, kSheetSize));
    QVERIFY(!sheet.hasAlphaChannel());
    QCOMPARE(sheet.depth(), 32);  // 24-bit RGB loads as RGB32
    QCOMPARE(QImage(Committed(kIcon32File)).size(), QSize(32, 32));
    QCOMPARE(QImage(Committed(kIcon16File)).size(), QSize(16, 16));
  }

  void writtenFilesReloadUnchanged() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY(WriteAssetFiles(dir.path(), &error));
    QVERIFY(FirstDifference(LoadRgb32(dir.filePath(QString::fromLatin1(kTileSheetFile))), PaintTileSheet()).isEmpty());
    QVERIFY(FirstDifference(LoadRgb32(dir.filePath(QString::fromLatin1(kIcon32File))), PaintIcon32()).isEmpty());
    QVERIFY(FirstDifference(LoadRgb32(dir.filePath(QString::fromLatin1(kIcon16File))), PaintIcon16()).isEmpty());
  }

  void writeFailureIsReported() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A folder path that runs through a regular file cannot be written to.
    const QString plain = dir.filePath(QStringLiteral("plain"));
    QFile f(plain);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QString error;
    QVERIFY(!WriteAssetFiles(plain, &error));
    QVERIFY2(error.endsWith(QLatin1String(kTileSheetFile)), qPrintable(error));
  }

  void frameGreyLevels() {
    const QImage sheet = PaintTileSheet();
    QCOMPARE(sheet.size(), QSize(368, 368));
    const std::array<int, 8> levels = {185, 168, 150, 128, 110, 89, 80, 162};
    for (int d = 0; d < 8; ++d) {
      for (int along : {100, 200, 300}) {
        const int level = levels[static_cast<std::size_t>(d)];
        QVERIFY2(IsGrey(sheet.pixel(d, along), level), qPrintable(QStringLiteral("left %1").arg(d)));
        QVERIFY2(IsGrey(sheet.pixel(367 - d, along), level), qPrintable(QStringLiteral("right %1").arg(d)));
        QVERIFY2(IsGrey(sheet.pixel(along, d), level), qPrintable(QStringLiteral("top %1").arg(d)));
        QVERIFY2(IsGrey(sheet.pixel(along, 367 - d), level), qPrintable(QStringLiteral("bottom %1").arg(d)));
      }
    }
  }

  void frameCornersAreMitred() {
    const QImage sheet = PaintTileSheet();
    // In a corner square a pixel takes the grey of the nearer side; on the
    // diagonal both sides agree.
    QVERIFY(IsGrey(sheet.pixel(2, 6), 150));      // nearer the left side
    QVERIFY(IsGrey(sheet.pixel(6, 2), 150));      // nearer the top
    QVERIFY(IsGrey(sheet.pixel(7, 7), 162));
    QVERIFY(IsGrey(sheet.pixel(365, 1), 168));    // top right, nearer the top
    QVERIFY(IsGrey(sheet.pixel(361, 366), 168));  // bottom right, nearer the bottom
    QVERIFY(IsGrey(sheet.pixel(366, 361), 168));  // bottom right, nearer the right
    QVERIFY(IsGrey(sheet.pixel(1, 364), 168));    // bottom left, nearer the left
  }

  void interiorOutsideTilesIsWhite() {
    const QImage sheet = PaintTileSheet();
    for (QPoint p : {QPoint(140, 8), QPoint(184, 30), QPoint(8, 52), QPoint(200, 200), QPoint(359, 359),
                     QPoint(359, 8), QPoint(8, 359)})
      QVERIFY2(sheet.pixel(p) == qRgb(255, 255, 255), qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
  }

  void openTile() {
    const QImage open = Tile(PaintTileSheet(), kOpenTile);
    for (int y = 0; y < kTileSize - 1; ++y)
      for (int x = 0; x < kTileSize - 1; ++x) {
        const QRgb c = open.pixel(x, y);
        QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
        QVERIFY(qAbs(qRed(c) - 84) <= 4);
      }
    CheckDashedEdges(open, "open");
  }

  void digitTilesKeepTheGroundAndDifferFromEachOther() {
    const QImage sheet = PaintTileSheet();
    const QImage open = Tile(sheet, kOpenTile);
    for (int n = 1; n <= 8; ++n) {
      const QImage digit = Tile(sheet, DigitTile(n));
      QVERIFY2(digit != open, qPrintable(QString::number(n)));
      for (int m = 1; m < n; ++m) QVERIFY2(digit != Tile(sheet, DigitTile(m)), qPrintable(QStringLiteral("%1 = %2").arg(n).arg(m)));
      CheckDashedEdges(digit, "digit");
      // Ground in the corners, where no digit reaches.
      QCOMPARE(digit.pixel(1, 1), open.pixel(1, 1));
      QCOMPARE(digit.pixel(19, 19), open.pixel(19, 19));
      // Light olive: bright, yellowish.
      bool olive = false;
      for (int y = 0; y < kTileSize && !olive; ++y)
        for (int x = 0; x < kTileSize && !olive; ++x) {
          const QRgb c = digit.pixel(x, y);
          olive = qRed(c) > 150 && qAbs(qRed(c) - qGreen(c)) < 16 && qBlue(c) < qRed(c) - 50;
        }
      QVERIFY2(olive, qPrintable(QString::number(n)));
    }
  }

  void buttonTilesShareTheButton() {
    const QImage sheet = PaintTileSheet();
    const QImage covered = Tile(sheet, kCoveredTile);
    for (int x = 0; x < kTileSize; ++x) QCOMPARE(covered.pixel(x, kTileSize - 1), qRgb(0, 0, 0));
    QVERIFY(qGray(covered.pixel(5, 0)) > 240);                      // bright top edge
    QVERIFY(qGray(covered.pixel(kTileSize - 1, 10)) < 110);         // dark right edge
    QVERIFY(qGray(covered.pixel(2, 2)) < qGray(covered.pixel(18, 18)));  // face brightens downwards
    for (QPoint origin : {kMarkTile, kQueryTile}) {
      const QImage marked = Tile(sheet, origin);
      QVERIFY(marked != covered);
      // Edges and the face near them are the covered button's.
      for (int i = 0; i < kTileSize; ++i) {
        QCOMPARE(marked.pixel(i, 0), covered.pixel(i, 0));
        QCOMPARE(marked.pixel(i, kTileSize - 1), covered.pixel(i, kTileSize - 1));
        QCOMPARE(marked.pixel(0, i), covered.pixel(0, i));
        QCOMPARE(marked.pixel(kTileSize - 1, i), covered.pixel(kTileSize - 1, i));
      }
      QCOMPARE(marked.pixel(2, 18), covered.pixel(2, 18));
    }
    QVERIFY(Tile(sheet, kMarkTile).pixel(10, 6) == qRgb(255, 224, 32));  // yellow "!"
    QVERIFY(Tile(sheet, kQueryTile).pixel(7, 6) == qRgb(255, 255, 255));  // white "?"
  }

  void bombTiles() {
    const QImage sheet = PaintTileSheet();
    const QImage bomb = Tile(sheet, kBombTile);
    const QImage cross = Tile(sheet, kCrossTile);
    QCOMPARE(bomb.pixel(10, 14), qRgb(0, 0, 0));  // the ball's body
    CheckDashedEdges(bomb, "bomb");
    int red = 0;
    for (int y = 0; y < kTileSize; ++y)
      for (int x = 0; x < kTileSize; ++x) {
        const QRgb c = cross.pixel(x, y);
        red += qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
      }
    QVERIFY2(red >= 40, "the cross needs a clear red X");
    QVERIFY(cross != bomb);
  }

  void iconsUseSixteenColours() {
    const QSet<QRgb> standard = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                                 qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                                 qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                                 qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    for (const QImage& icon : {PaintIcon32(), PaintIcon16()}) {
      QSet<QRgb> used;
      for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) used.insert(icon.pixel(x, y));
      for (QRgb c : used) QVERIFY2(standard.contains(c), qPrintable(QString::number(c, 16)));
      // Grey ground, black bomb, white and red lettering.
      for (QRgb c : {qRgb(192, 192, 192), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0)})
        QVERIFY(used.contains(c));
      QCOMPARE(icon.pixel(0, icon.height() - 1), qRgb(192, 192, 192));
    }
  }

  void embeddedResources() {
    const QImage sheet = TileSheetImage();
    QCOMPARE(sheet.format(), QImage::Format_RGB32);
    QVERIFY(FirstDifference(sheet, LoadRgb32(Committed(kTileSheetFile))).isEmpty());
    // Decoded once: every call hands out the same shared image.
    QCOMPARE(TileSheetImage().cacheKey(), sheet.cacheKey());

    const QIcon icon = AppIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    for (auto [size, file] : {std::pair{32, kIcon32File}, std::pair{16, kIcon16File}}) {
      const QImage shown = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_RGB32);
      QVERIFY2(FirstDifference(shown, LoadRgb32(Committed(file))).isEmpty(), file);
    }
  }
};

QTEST_MAIN(AssetsTest)
#include "AssetsTest.moc"
