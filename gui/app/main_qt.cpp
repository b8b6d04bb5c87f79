// vrm650t: the desktop program.
#include <QCoreApplication>

#include "gui/app/vrm_app.h"
#include "gui/widgets/startup_probe.h"

static void StartupProbe() { vrm::InstallStartupProbe(); }
Q_COREAPP_STARTUP_FUNCTION(StartupProbe)

int main(int argc, char** argv) { return vrm::RunDesktopProgram(argc, argv); }
