#pragma once
// Draws the tile sheet and the application icon pixel by pixel.
// No fonts, no antialiasing, no platform plugin: the same Qt gives the same
// pixels on every machine, so the committed PNGs can be checked against it.

#include <QImage>
#include <QPoint>
#include <QString>

namespace vornel::sheet {

inline constexpr int kSheetSize = 368;
inline constexpr int kFrameWidth = 8;
inline constexpr int kTileSize = 22;

// Top-left corners of the tiles on the sheet.
inline constexpr QPoint kCoveredTile{8, 8};
inline constexpr QPoint kMarkTile{30, 8};
inline constexpr QPoint kQueryTile{52, 8};
inline constexpr QPoint kCrossTile{74, 8};
inline constexpr QPoint kBombTile{96, 8};
inline constexpr QPoint kOpenTile{118, 8};
// Digit n (1..8).
constexpr QPoint DigitTile(int n) { return {8 + kTileSize * (n - 1), 30}; }

// Frame grey levels from the outer edge inwards.
inline constexpr int kFrameGreys[kFrameWidth] = {185, 168, 150, 128, 110, 89, 80, 162};

// Grey of the open cells' ground.
inline constexpr int kOpenGround = 84;

inline constexpr char kTileSheetFile[] = "tilesheet.png";
inline constexpr char kIcon32File[] = "icon32.png";
inline constexpr char kIcon16File[] = "icon16.png";
// The larger icons of the desktop's icon theme, icon<size>.png, and the
// scalable one.
inline constexpr int kLargeIconSizes[] = {64, 128, 256};
QString IconFile(int size);
inline constexpr char kIconSvgFile[] = "icon.svg";

// 368 x 368, Format_RGB32.
QImage PaintTileSheet();
// Format_RGB32, drawn only from the 16 standard colours.
QImage PaintIcon32();
QImage PaintIcon16();
// The 32-pixel design at a whole multiple of 32 pixels, each of its pixels a
// square of size / 32: the same picture, sharp.
QImage PaintIcon(int size);
// The 32-pixel design as an SVG of 32 x 32 units, one path per colour.
QByteArray IconSvg();

// Writes the PNGs and the SVG into `folder` (which must exist). The sheet is
// saved as 24-bit RGB, the icons with a 16-colour palette. On failure returns
// false and names the file that could not be written in `error`.
bool WriteAssetFiles(const QString& folder, QString* error);

}  // namespace vornel::sheet
