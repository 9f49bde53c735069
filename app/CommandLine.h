#pragma once
// The game's command line, read before any window exists, so that --help,
// --version and a wrong option are answered without a display.

#include <QString>

namespace vornel {

struct CommandLine {
  enum class Action { kPlay, kHelp, kVersion, kWrong };
  Action action = Action::kPlay;
  // Started from the desktop menu: play in the player's data folder.
  bool fromMenu = false;
  QString wrong;  // for kWrong: what is wrong, in Japanese and English
};

// Reads our options and steps over Qt's own (-platform NAME, -display D, ...),
// which QApplication takes out of argv later.
CommandLine ReadCommandLine(int argc, const char* const* argv);

// Prints the answer to --help, --version or a wrong option and returns the
// exit status: 0, or 2 for a wrong option.
int Answer(const CommandLine& line);

// The folder the game plays in, which holds its ranking: the current one, or
// for a start from the menu ${XDG_DATA_HOME:-~/.local/share}/vornel, made on
// first start and made current, as a shortcut's working folder would be.
// Absolute, so that a save that fails names where it tried.
QString PlayFolder(bool fromMenu);

}  // namespace vornel
