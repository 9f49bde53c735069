#pragma once

namespace vornel {
// Starts the program: shows the main window and runs until it is closed.
int Main(int argc, char** argv);
}  // namespace vornel
