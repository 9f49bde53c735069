#include "assets/SheetPainter.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QList>

#include <algorithm>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

namespace vornel::sheet {

namespace {

constexpr QRgb Grey(int v) { return qRgb(v, v, v); }

// ---------------------------------------------------------------------------
// Pixel art helpers. A sprite is a list of equally long rows of characters;
// '.' leaves the pixel alone, any other character is looked up in a palette.

using Sprite = std::span<const std::string_view>;

struct Ink {
  char key;
  QRgb colour;
};
using Palette = std::span<const Ink>;

// Draws into one rectangle of an image, in coordinates local to it.
class Pen {
 public:
  Pen(QImage& image, QPoint origin) : image_(image), origin_(origin) {}

  void dot(int x, int y, QRgb c) {
    const int px = origin_.x() + x;
    const int py = origin_.y() + y;
    if (px >= 0 && py >= 0 && px < image_.width() && py < image_.height()) image_.setPixel(px, py, c);
  }
  void fill(int x, int y, int w, int h, QRgb c) {
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) dot(x + i, y + j, c);
  }

  void sprite(int x, int y, Sprite rows, Palette palette) {
    int j = 0;
    for (std::string_view row : rows) {
      for (int i = 0; i < static_cast<int>(row.size()); ++i) {
        for (const Ink& ink : palette)
          if (ink.key == row[static_cast<std::size_t>(i)]) dot(x + i, y + j, ink.colour);
      }
      ++j;
    }
  }
  // Art written in place at the call.
  void sprite(int x, int y, std::initializer_list<std::string_view> rows, Palette palette) {
    sprite(x, y, Sprite(rows.begin(), rows.size()), palette);
  }
  void sprite(int x, int y, std::initializer_list<std::string_view> rows, std::initializer_list<Ink> palette) {
    sprite(x, y, Sprite(rows.begin(), rows.size()), Palette(palette.begin(), palette.size()));
  }

  // A one-colour glyph ('#') with a one-pixel outline all round, corners
  // included, so it stands out on any ground.
  void outlinedGlyph(int x, int y, Sprite rows, QRgb face, QRgb outline) {
    const auto on = [&rows](int i, int j) {
      if (j < 0 || j >= static_cast<int>(rows.size())) return false;
      const std::string_view row = rows[static_cast<std::size_t>(j)];
      return i >= 0 && i < static_cast<int>(row.size()) && row[static_cast<std::size_t>(i)] == '#';
    };
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(rows.front().size());
    for (int j = -1; j <= h; ++j)
      for (int i = -1; i <= w; ++i) {
        if (on(i, j)) {
          dot(x + i, y + j, face);
          continue;
        }
        bool near = false;
        for (int dj = -1; dj <= 1 && !near; ++dj)
          for (int di = -1; di <= 1 && !near; ++di) near = on(i + di, j + dj);
        if (near) dot(x + i, y + j, outline);
      }
  }

  // A one-colour glyph with a shadow one pixel down and to the right.
  void shadowedGlyph(int x, int y, Sprite rows, QRgb face, QRgb shadow) {
    const Ink shade[] = {{'#', shadow}};
    const Ink ink[] = {{'#', face}};
    sprite(x + 1, y + 1, rows, shade);
    sprite(x, y, rows, ink);
  }

 private:
  QImage& image_;
  QPoint origin_;
};

// ---------------------------------------------------------------------------
// Colours.

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kDashLight = Grey(150);
constexpr QRgb kOlive = qRgb(200, 200, 112);
constexpr QRgb kOliveShadow = qRgb(40, 40, 24);
constexpr QRgb kMarkYellow = qRgb(255, 224, 32);
constexpr QRgb kCrossRed = qRgb(232, 24, 24);
constexpr QRgb kCrossRedDark = qRgb(120, 0, 0);

// ---------------------------------------------------------------------------
// Glyphs.

// Digits 1..8, 10 x 14, strokes three pixels wide.
constexpr std::string_view kDigits[8][14] = {
    {"....###...", "...####...", "..#####...", ".##.###...", "....###...", "....###...", "....###...",
     "....###...", "....###...", "....###...", "....###...", "....###...", "..#######.", "..#######."},
    {"..######..", ".########.", "###....###", ".......###", ".......###", "......###.", ".....###..",
     "....###...", "...###....", "..###.....", ".###......", "###.......", "##########", "##########"},
    {"..######..", ".########.", "###....###", ".......###", ".......###", "....#####.", "....#####.",
     ".......###", ".......###", ".......###", ".......###", "###....###", ".########.", "..######.."},
    {"###...###.", "###...###.", "###...###.", "###...###.", "###...###.", "###...###.", "###...###.",
     "##########", "##########", "......###.", "......###.", "......###.", "......###.", "......###."},
    {"##########", "##########", "###.......", "###.......", "###.......", "########..", "#########.",
     ".......###", ".......###", ".......###", ".......###", "###....###", ".########.", "..######.."},
    {"..#######.", ".########.", "###.......", "###.......", "###.......", "########..", "#########.",
     "###....###", "###....###", "###....###", "###....###", "###....###", ".########.", "..######.."},
    {"##########", "##########", ".......###", "......###.", "......###.", ".....###..", ".....###..",
     "....###...", "....###...", "....###...", "...###....", "...###....", "...###....", "...###...."},
    {"..######..", ".########.", "###....###", "###....###", "###....###", ".########.", ".########.",
     "###....###", "###....###", "###....###", "###....###", "###....###", ".########.", "..######.."},
};

Sprite DigitGlyph(int n) { return kDigits[n - 1]; }

constexpr std::string_view kExclamation[] = {
    ".##.", "####", "####", "####", "####", "####", "####", ".##.", ".##.",
    "....", "....", "####", "####", "####",
};

constexpr std::string_view kQuestion[] = {
    "..#####..", ".#######.", "###...###", "###...###", "......###", ".....###.", "....###..",
    "...###...", "...###...", "...###...", ".........", "...###...", "...###...", "...###...",
};

// ---------------------------------------------------------------------------
// Tiles. Each draws into a 22 x 22 pen.

void OpenGround(Pen& p) {
  p.fill(0, 0, kTileSize, kTileSize, Grey(kOpenGround));
  // Dashes of two light and two dark pixels. Both lines start light, so at
  // every grid crossing the light runs of four neighbouring tiles meet.
  for (int i = 0; i < kTileSize; ++i) {
    if ((i / 2) % 2 == 0) {
      p.dot(kTileSize - 1, i, kDashLight);
      p.dot(i, kTileSize - 1, kDashLight);
    }
  }
}

void CoveredButton(Pen& p) {
  constexpr int last = kTileSize - 1;
  // Face: mid-grey at the upper left brightening toward the lower right.
  for (int y = 1; y < last - 1; ++y)
    for (int x = 1; x < last - 1; ++x) {
      const int t = (x - 1) + (y - 1);  // 0 .. 36
      p.dot(x, y, Grey(150 + t * 86 / 36));
    }
  p.fill(0, 0, last, 1, kWhite);               // bright top edge
  p.fill(0, 1, 1, last - 1, Grey(232));        // lit left edge
  p.fill(last - 1, 1, 1, last - 2, Grey(132));  // inner shade of the right edge
  p.fill(1, last - 1, last - 1, 1, Grey(132));  // inner shade above the bottom line
  p.fill(last, 0, 1, last, Grey(88));          // dark right edge
  p.fill(0, last, kTileSize, 1, kBlack);       // black bottom line
}

void Bomb(Pen& p, bool lit) {
  p.sprite(0, 0,
           {
               "......................",
               "......................",
               "......................",
               "......................",
               "......................",
               "............GG........",
               "........KKKGGGG.......",
               "......KKKKKKGGK.......",
               ".....KKKKKKKKKKK......",
               ".....KSSKKKKKKKK......",
               "....KSWWSKKKKKKKK.....",
               "....KSWSKKKKKKKKK.....",
               "....KKSKKKKKKKKKK.....",
               "....KKKKKKKKKKKKK.....",
               "....KKKKKKKKKKKKD.....",
               ".....KKKKKKKKKKD......",
               ".....KKKKKKKKKDD......",
               "......KKKKKKDDD.......",
               "........KDDDD.........",
               "......................",
           },
           {{'K', kBlack}, {'D', Grey(36)}, {'S', Grey(110)}, {'W', kWhite}, {'G', Grey(128)}});
  // Fuse from the cap up to the right.
  p.sprite(0, 0,
           {
               "......................",
               "......................",
               "......................",
               "................F.....",
               "...............F......",
               "..............F.......",
           },
           {{'F', qRgb(208, 176, 112)}});
  if (!lit) return;
  p.sprite(0, 0,
           {
               ".................R....",
               "...............R.Y.R..",
               "................OYO...",
               "..............RYYWYYR.",
               "................OYO...",
               "...............R.Y.R..",
               ".................R....",
           },
           {{'R', qRgb(232, 48, 16)}, {'O', qRgb(255, 144, 0)}, {'Y', qRgb(255, 240, 64)}, {'W', kWhite}});
}

void Cross(Pen& p) {
  // Two strokes, each two pixels wide with a dark rim, crossing on the ball
  // and short enough to leave its outline readable.
  constexpr int kLength = 15;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < kLength; ++i) {
      const int y = 5 + i;
      for (int x : {3 + i, 17 - i}) {
        if (pass == 0) {
          p.dot(x - 1, y, kCrossRedDark);
          p.dot(x + 2, y, kCrossRedDark);
        } else {
          p.dot(x, y, kCrossRed);
          p.dot(x + 1, y, kCrossRed);
        }
      }
    }
}

void PaintFrame(QImage& img) {
  const int last = kSheetSize - 1;
  for (int y = 0; y < kSheetSize; ++y)
    for (int x = 0; x < kSheetSize; ++x) {
      // The nearest side decides, which joins the sides along the diagonals.
      const int depth = std::min({x, y, last - x, last - y});
      if (depth < kFrameWidth) img.setPixel(x, y, Grey(kFrameGreys[depth]));
    }
}

}  // namespace

QImage PaintTileSheet() {
  QImage img(kSheetSize, kSheetSize, QImage::Format_RGB32);
  img.fill(kWhite);
  PaintFrame(img);

  {
    Pen p(img, kCoveredTile);
    CoveredButton(p);
  }
  {
    Pen p(img, kMarkTile);
    CoveredButton(p);
    p.outlinedGlyph(9, 3, kExclamation, kMarkYellow, kBlack);
  }
  {
    Pen p(img, kQueryTile);
    CoveredButton(p);
    p.outlinedGlyph(6, 3, kQuestion, kWhite, kBlack);
  }
  {
    Pen p(img, kCrossTile);
    OpenGround(p);
    Bomb(p, false);
    Cross(p);
  }
  {
    Pen p(img, kBombTile);
    OpenGround(p);
    Bomb(p, true);
  }
  {
    Pen p(img, kOpenTile);
    OpenGround(p);
  }
  for (int n = 1; n <= 8; ++n) {
    Pen p(img, DigitTile(n));
    OpenGround(p);
    p.shadowedGlyph(5, 3, DigitGlyph(n), kOlive, kOliveShadow);
  }
  return img;
}

// ---------------------------------------------------------------------------
// Icon, in the 16 standard colours.

namespace {

constexpr QRgb kIconBlack = qRgb(0, 0, 0);
constexpr QRgb kIconMaroon = qRgb(128, 0, 0);
constexpr QRgb kIconGreen = qRgb(0, 128, 0);
constexpr QRgb kIconOlive = qRgb(128, 128, 0);
constexpr QRgb kIconNavy = qRgb(0, 0, 128);
constexpr QRgb kIconPurple = qRgb(128, 0, 128);
constexpr QRgb kIconTeal = qRgb(0, 128, 128);
constexpr QRgb kIconGrey = qRgb(128, 128, 128);
constexpr QRgb kIconSilver = qRgb(192, 192, 192);
constexpr QRgb kIconRed = qRgb(255, 0, 0);
constexpr QRgb kIconLime = qRgb(0, 255, 0);
constexpr QRgb kIconYellow = qRgb(255, 255, 0);
constexpr QRgb kIconBlue = qRgb(0, 0, 255);
constexpr QRgb kIconFuchsia = qRgb(255, 0, 255);
constexpr QRgb kIconAqua = qRgb(0, 255, 255);
constexpr QRgb kIconWhite = qRgb(255, 255, 255);

const QList<QRgb>& IconColours() {
  static const QList<QRgb> colours = {kIconBlack, kIconMaroon, kIconGreen, kIconOlive, kIconNavy,  kIconPurple,
                                      kIconTeal,  kIconSilver, kIconGrey,  kIconRed,   kIconLime,  kIconYellow,
                                      kIconBlue,  kIconFuchsia, kIconAqua, kIconWhite};
  return colours;
}

constexpr Ink kIconInks[] = {{'K', kIconBlack}, {'M', kIconMaroon}, {'G', kIconGrey}, {'S', kIconSilver},
                               {'R', kIconRed},   {'Y', kIconYellow}, {'W', kIconWhite}, {'O', kIconOlive}};

}  // namespace

// A ball of radius r / 2 around (cx / 2, cy / 2): half-pixel centres
// without floating point.
void Ball(Pen& p, int cx, int cy, int r, QRgb c) {
  for (int y = 0; 2 * y <= cy + r; ++y)
    for (int x = 0; 2 * x <= cx + r; ++x) {
      const int dx = 2 * x + 1 - cx;
      const int dy = 2 * y + 1 - cy;
      if (dx * dx + dy * dy <= r * r) p.dot(x, y, c);
    }
}

QImage PaintIcon32() {
  QImage img(32, 32, QImage::Format_RGB32);
  img.fill(kIconSilver);
  Pen p(img, {0, 0});
  Ball(p, 30, 39, 24, kIconBlack);
  p.sprite(0, 0,
           {
               "........................R.......",
               ".....................R..Y..R....",
               "......................YYY.......",
               "....................RYYWYYR.....",
               "......................YYY.......",
               ".....................R.YY.R.....",
               ".....................OY.........",
               "....................O...R.......",
               "...................O............",
               ".................GG.............",
               "................GGGG............",
               "...............GGGG.............",
               ".......GG.......GG..............",
               "......G.........................",
           },
           kIconInks);
  // "Vor" in white over "nel" in red.
  p.sprite(7, 13,
           {
               "WW..WW..............",
               "WW..WW..............",
               "WW..WW..WWW..WW.WW..",
               "WW..WW.WW.WW.WWWW...",
               ".WWWW..WW.WW.WW.....",
               ".WWWW..WW.WW.WW.....",
               "..WW....WWW..WW.....",
           },
           kIconInks);
  p.sprite(9, 21,
           {
               "............RR",
               "............RR",
               "RRRR...RRR..RR",
               "RR.RR.RR.RR.RR",
               "RR.RR.RRRRR.RR",
               "RR.RR.RR....RR",
               "RR.RR..RRRR.RR",
           },
           kIconInks);
  return img;
}

QImage PaintIcon16() {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(kIconSilver);
  Pen p(img, {0, 0});
  Ball(p, 14, 19, 12, kIconBlack);
  p.sprite(0, 0,
           {
               "............R...",
               "...........RYR..",
               "............R...",
               "...........O....",
               "..........G.....",
               ".........GG.....",
           },
           kIconInks);
  // The initial in white with a red shadow.
  p.sprite(3, 6,
           {
               "WW..WW.",
               "WWR.WWR",
               "WWR.WWR",
               ".WWWWR.",
               ".WWWWR.",
               "..WWR..",
               "...R...",
           },
           kIconInks);
  return img;
}

QString IconFile(int size) { return QStringLiteral("icon%1.png").arg(size); }

QImage PaintIcon(int size) {
  return PaintIcon32().scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QByteArray IconSvg() {
  const QImage icon = PaintIcon32();
  QByteArray svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\" "
      "shape-rendering=\"crispEdges\">\n";
  // Each colour is the rows' runs of its pixels, in the order of first use.
  QList<QRgb> colours;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x)
      if (!colours.contains(icon.pixel(x, y))) colours.append(icon.pixel(x, y));
  for (QRgb colour : colours) {
    svg += QStringLiteral("<path fill=\"%1\" d=\"").arg(QColor(colour).name()).toLatin1();
    for (int y = 0; y < icon.height(); ++y)
      for (int x = 0; x < icon.width(); ++x) {
        if (icon.pixel(x, y) != colour || (x > 0 && icon.pixel(x - 1, y) == colour)) continue;
        int run = 1;
        while (x + run < icon.width() && icon.pixel(x + run, y) == colour) ++run;
        svg += QStringLiteral("M%1 %2h%3v1h-%3z").arg(x).arg(y).arg(run).toLatin1();
      }
    svg += "\"/>\n";
  }
  return svg + "</svg>\n";
}

bool WriteAssetFiles(const QString& folder, QString* error) {
  const QDir dir(folder);
  const auto write = [&](const QImage& image, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (image.save(path, "PNG")) return true;
    if (error) *error = path;
    return false;
  };
  const QImage sheet = PaintTileSheet().convertToFormat(QImage::Format_RGB888);
  const auto indexed = [](const QImage& icon) {
    return icon.convertToFormat(QImage::Format_Indexed8, IconColours(), Qt::ThresholdDither);
  };
  bool written = write(sheet, kTileSheetFile) && write(indexed(PaintIcon32()), kIcon32File) &&
                 write(indexed(PaintIcon16()), kIcon16File);
  for (int size : kLargeIconSizes)
    written = written && write(indexed(PaintIcon(size)), qPrintable(IconFile(size)));
  if (!written) return false;
  QFile svg(dir.filePath(QString::fromLatin1(kIconSvgFile)));
  if (svg.open(QIODevice::WriteOnly) && svg.write(IconSvg()) >= 0 && svg.flush()) return true;
  if (error) *error = svg.fileName();
  return false;
}

}  // namespace vornel::sheet
