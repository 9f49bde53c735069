#pragma once

#include <functional>

namespace vornel {

class frmMain;

// Starts the program: shows the main window and runs until it is closed.
// `shown`, when given, sees the window right after it is shown (the
// start-up benchmark watches its first paint through it).
int Main(int argc, char** argv, const std::function<void(frmMain&)>& shown = {});

}  // namespace vornel
