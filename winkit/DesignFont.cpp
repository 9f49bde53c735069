#include "winkit/DesignFont.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <QFontDatabase>
#include <QWidget>
#include <memory>

namespace vornel {

namespace {

constexpr const char* kFamily = "IPAGothic";
constexpr int kPixelSize = 12;

// The file of the face fontconfig knows by `family` in any of its names.
QString FontFile(const char* family) {
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                        &FcPatternDestroy);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FILE, nullptr), &FcObjectSetDestroy);
  const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
      FcFontList(nullptr, pattern.get(), objects.get()), &FcFontSetDestroy);
  FcChar8* file = nullptr;
  if (!fonts || fonts->nfont == 0 ||
      FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &file) != FcResultMatch)
    return {};
  return QFile::decodeName(reinterpret_cast<const char*>(file));
}

// Qt names a face in the user's locale ("IPAゴシック" under ja_JP), so the
// English name finds it only in some; registered from its file, the face
// goes by the name the file gives first, the same everywhere.
QString RegisteredFamily() {
  const QString file = FontFile(kFamily);
  if (!file.isEmpty()) {
    const QStringList families =
        QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file));
    if (!families.isEmpty()) return families.front();
  }
  return QString::fromLatin1(kFamily);
}

}  // namespace

QFont DesignFont() {
  static const QString family = RegisteredFamily();
  QFont font(family);
  font.setPixelSize(kPixelSize);
  return font;
}

void UseDesignFont(QWidget* window) { window->setFont(DesignFont()); }

}  // namespace vornel
