// vrm650t: the desktop program.
#include "gui/app/vrm_app.h"

int main(int argc, char** argv) { return vrm::RunDesktopProgram(argc, argv); }
