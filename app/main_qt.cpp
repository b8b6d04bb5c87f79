// vrm650t: the desktop program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("VRM-650T"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
