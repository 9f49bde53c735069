#include "app/CommandLine.h"

#include <QDir>

#include <cstdio>
#include <string_view>

namespace vornel {

namespace {

constexpr const char* kHelp = R"(Usage: vornel [--menu] [Qt options]
使い方: vornel [--menu] [Qt のオプション]

Vornel, a mine-clearing puzzle with a Japanese interface. Its ranking is
vornel.dat in the current folder.
日本語の爆弾探しパズルです。ランキングは今いるフォルダーの vornel.dat です。

  --menu     start as the desktop menu does, in the folder
             ${XDG_DATA_HOME:-~/.local/share}/vornel/ (made on first start),
             which then holds the ranking
             デスクトップのメニューと同じく、このフォルダー（初回に作成）で
             始め、ランキングもそこに置きます
  --help     show this help / この説明を表示します
  --version  show the version / バージョンを表示します

Qt's own options also work, for instance -platform xcb, -display :0 or
-style Fusion. / Qt のオプション（-platform、-display、-style など）も使えます。

Exit status / 終了ステータス: 0 played / 正常終了, 1 no display / 画面なし,
2 a wrong option / オプションの誤り
)";

// Qt's options that take the next argument as their value (QGuiApplication,
// QApplication and the X plugin); Qt also accepts them with two dashes.
constexpr std::string_view kQtWithValue[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-geometry", "-qwindowtitle", "-title", "-qwindowicon", "-icon", "-session", "-style",
    "-stylesheet", "-display", "-name", "-visual", "-qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"-reverse", "-testability", "-widgetcount", "-nograb",
                                         "-dograb"};
constexpr std::string_view kQtWithJoinedValue[] = {"-style=", "-stylesheet=", "-qmljsdebugger="};

template <std::size_t N>
bool OneOf(std::string_view arg, const std::string_view (&names)[N]) {
  for (std::string_view name : names)
    if (arg == name) return true;
  return false;
}

CommandLine Wrong(const QString& what) {
  return {CommandLine::Action::kWrong, false, what};
}

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view given = argv[i];
    const QString shown = QString::fromLocal8Bit(argv[i]);
    if (given == "--help" || given == "-h") return {CommandLine::Action::kHelp, false, {}};
    if (given == "--version") return {CommandLine::Action::kVersion, false, {}};
    if (given == "--menu") {
      line.fromMenu = true;
      continue;
    }
    if (given.size() < 2 || given[0] != '-')
      return Wrong(QStringLiteral("引数 %1 は使えません / unexpected argument %1").arg(shown));
    const std::string_view qt = given.substr(given[1] == '-' ? 1 : 0);
    if (OneOf(qt, kQtFlags)) continue;
    bool joined = false;
    for (std::string_view prefix : kQtWithJoinedValue) joined = joined || qt.starts_with(prefix);
    if (joined) continue;
    if (!OneOf(qt, kQtWithValue))
      return Wrong(QStringLiteral("オプション %1 はありません / unknown option %1").arg(shown));
    if (++i == argc)
      return Wrong(QStringLiteral("オプション %1 に値がありません / option %1 needs a value").arg(shown));
  }
  return line;
}

int Answer(const CommandLine& line) {
  switch (line.action) {
    case CommandLine::Action::kHelp:
      std::fputs(kHelp, stdout);
      return 0;
    case CommandLine::Action::kVersion:
      std::printf("vornel %d.%d.%d\n", VORNEL_VERSION_MAJOR, VORNEL_VERSION_MINOR,
                  VORNEL_VERSION_PATCH);
      return 0;
    default:
      std::fprintf(stderr, "vornel: %s\n使い方は vornel --help で表示します / try vornel --help\n",
                   line.wrong.toLocal8Bit().constData());
      return 2;
  }
}

QString PlayFolder(bool fromMenu) {
  if (!fromMenu) return QDir::currentPath();
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory
  // rules say.
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty() || QDir::isRelativePath(data))
    data = QDir::homePath() + QStringLiteral("/.local/share");
  const QString folder = QDir::cleanPath(data + QStringLiteral("/vornel"));
  QDir().mkpath(data);
  QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // Where the folder cannot be made, the save says so, naming it.
  QDir::setCurrent(folder);
  return folder;
}

}  // namespace vornel
