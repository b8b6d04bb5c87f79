#include "gui/widgets/startup_probe.h"

#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vrm {
namespace {

class StartupProbe final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose) return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isExposed()) return false;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->windowHandle() == window && qobject_cast<QMainWindow*>(top)) Report();
        }
        return false;
    }

private:
    [[noreturn]] static void Report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1'000'000LL + now.tv_nsec / 1000);
        std::fflush(stdout);
        ::_exit(0);
    }
};

}  // namespace

void InstallStartupProbe() {
    if (!std::getenv("VRM650T_STARTUP_PROBE") || !QCoreApplication::instance()) return;
    QCoreApplication::instance()->installEventFilter(new StartupProbe(QCoreApplication::instance()));
}

}  // namespace vrm
