// vrm650t: the desktop program.
#include "app/vrm_app.h"

int main(int argc, char** argv) { return vrm::RunDesktopProgram(argc, argv); }
