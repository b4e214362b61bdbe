// rigbox-extract: the installer of one car. It opens the wizard window
// unless the command line asks for the console (--silent, --help).
#include "app.h"

int main(int argc, char** argv) { return fltk_frontend::RunInstaller(argc, argv); }
