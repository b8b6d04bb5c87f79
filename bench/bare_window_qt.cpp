// The yardstick of the start-up benchmark: a bare Qt Widgets main window with
// the same start-up probe as the program, and nothing else.
#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>

#include "gui/widgets/startup_probe.h"

static void StartupProbe() { vrm::InstallStartupProbe(); }
Q_COREAPP_STARTUP_FUNCTION(StartupProbe)

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
