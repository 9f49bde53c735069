#pragma once
// The tile sheet and the application icon, as embedded in the program.
// Resource paths: :/vornel/tilesheet.png, :/vornel/icon32.png,
// :/vornel/icon16.png. Linking vornel_assets is all it takes to have them.

#include <QIcon>
#include <QImage>

namespace vornel {

// The 368 x 368 tile sheet in Format_RGB32, the format every drawing surface
// uses. Decoded and converted on the first call only; later calls share it.
QImage TileSheetImage();

// The application icon with its 32 x 32 and 16 x 16 pictures.
QIcon AppIcon();
// Its 32 x 32 picture, exactly as drawn: for the version dialog, which shows
// it pixel for pixel (an icon asked for a size may come back smoothed).
QImage AppIconPicture();

}  // namespace vornel
