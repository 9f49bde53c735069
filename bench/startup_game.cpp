// The game's own start-up, reporting its first painted title picture.

#include "app/frmMain.h"
#include "app/mdlMain.h"
#include "bench/StartupProbe.h"
#include "render/ScreenBox.h"

int main(int argc, char** argv) {
  return vornel::Main(argc, argv, [](vornel::frmMain& window) {
    new vornel::bench::FirstPaintProbe(window.picScreen());
  });
}
