#include <QDir>

#include "app/CommandLine.h"
#include "app/mdlMain.h"

int main(int argc, char** argv) {
  const vornel::CommandLine line = vornel::ReadCommandLine(argc, argv);
  if (line.action != vornel::CommandLine::Action::kPlay) return vornel::Answer(line);
  vornel::MainDependencies deps;
  deps.rankingPath =
      QDir(vornel::PlayFolder(line.fromMenu)).filePath(QString::fromLatin1(vornel::kRankingFile));
  return vornel::Main(argc, argv, {}, deps);
}
