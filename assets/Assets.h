#pragma once
// The tile sheet and the application icon, as embedded in the program:
// raw pixels, :/vornel/tilesheet.rgb32, :/vornel/icon32.rgb32 and
// :/vornel/icon16.rgb32. Linking vornel_assets is all it takes to have them.

#include <QIcon>
#include <QImage>

namespace vornel {

// The 368 x 368 tile sheet in Format_RGB32, the format every drawing surface
// uses, straight from the program's data.
QImage TileSheetImage();

// The application icon with its 32 x 32 and 16 x 16 pictures.
QIcon AppIcon();
// Its 32 x 32 picture, exactly as drawn: for the version dialog, which shows
// it pixel for pixel (an icon asked for a size may come back smoothed).
QImage AppIconPicture();

}  // namespace vornel
