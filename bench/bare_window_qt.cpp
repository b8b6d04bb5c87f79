// The yardsticks of the start-up benchmark, with the same start-up probe as
// the program: a bare Qt Widgets main window and nothing else; with `--text`,
// the least a window that shows any text has: a menu bar with one menu and a
// status-bar message (showing text loads the fonts, which the bare window
// never does).
#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <cstring>

#include "gui/widgets/startup_probe.h"

static void StartupProbe() { vrm::InstallStartupProbe(); }
Q_COREAPP_STARTUP_FUNCTION(StartupProbe)

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    }
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
