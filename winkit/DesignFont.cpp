#include "winkit/DesignFont.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <QFontDatabase>
#include <QWidget>

namespace vornel {

namespace {

constexpr const char* kFamily = "IPAGothic";
constexpr int kPixelSize = 12;

// The face fontconfig knows by `family` in any of its names: its file and
// all its names ("IPAGothic", "IPAゴシック"). Looked up in fontconfig's own
// list, which Qt reads anyway, rather than by a query of its own.
struct Face {
  QString file;
  QStringList names;
};

Face FindFace(const char* family) {
  Face face;
  const FcFontSet* fonts = FcConfigGetFonts(nullptr, FcSetSystem);
  for (int i = 0; fonts != nullptr && i < fonts->nfont && face.names.isEmpty(); ++i) {
    FcPattern* font = fonts->fonts[i];
    FcChar8* value = nullptr;
    bool found = false;
    for (int k = 0; !found && FcPatternGetString(font, FC_FAMILY, k, &value) == FcResultMatch; ++k)
      found = FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family)) == 0;
    if (!found) continue;
    for (int k = 0; FcPatternGetString(font, FC_FAMILY, k, &value) == FcResultMatch; ++k)
      face.names.append(QString::fromUtf8(reinterpret_cast<const char*>(value)));
    if (FcPatternGetString(font, FC_FILE, 0, &value) == FcResultMatch)
      face.file = QFile::decodeName(reinterpret_cast<const char*>(value));
  }
  return face;
}

// A name Qt's font database lists for the face, so that Qt finds it exactly
// and loads nothing more: Qt names a face by the name fontconfig gives first
// in the user's locale ("IPAゴシック" under ja_JP) and knows the others only
// as aliases, which match inexactly. Without one (a font database that is
// not fontconfig's) the face is registered from its file.
QString KnownFamily() {
  const Face face = FindFace(kFamily);
  for (const QString& listed : QFontDatabase::families()) {
    // A family of several foundries is listed as "name [foundry]".
    const QStringView name = QStringView(listed).left(listed.indexOf(QStringLiteral(" [")));
    if (face.names.contains(name)) return name.toString();
  }
  if (!face.file.isEmpty()) {
    const QStringList families =
        QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(face.file));
    if (!families.isEmpty()) return families.front();
  }
  return QString::fromLatin1(kFamily);
}

}  // namespace

QFont DesignFont() {
  static const QString family = KnownFamily();
  QFont font(family);
  font.setPixelSize(kPixelSize);
  return font;
}

void UseDesignFont(QWidget* window) { window->setFont(DesignFont()); }

}  // namespace vornel
