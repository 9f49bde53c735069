#include "app/mdlMain.h"

int main(int argc, char** argv) { return vornel::Main(argc, argv); }
