// What the desktop tests share: an application started as the program starts
// (language file, data), and the folder screenshots go to.
#pragma once

#include <QAbstractButton>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/document/application.h"
#include "core/document/file_dialogs.h"
#include "gui/app/main_frame.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "core/base/clock.h"
#include "text/scripted_prompter.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/prompter.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm::test {

// Start-up's language and data steps with the language file `vrm650t_<lang>.lng`.
inline bool StartApplication(Application& app, MemorySettingsStore& settings, Prompter& prompter,
                             const std::string& lang, const std::string& dataFolder) {
    // $VRM_TEST_DESKTOP_POINTS: the desktop font a low-vision user set (the
    // screen tests run once with 14 pt), which the program keeps.
    if (const int points = qEnvironmentVariableIntValue("VRM_TEST_DESKTOP_POINTS"); points > 0) {
        QFont desktop = QApplication::font();
        desktop.setPointSize(points);
        UiFonts::RememberDesktopFont(&desktop);
    }
    settings.WriteString(kSettingLanguageName, "vrm650t_" + lang + ".lng");
    app.SetProgramFolder(VRM_BIN_DIR);
    if (!app.LoadLanguageAtStartup(settings, prompter)) return false;
    app.PrepareData(settings, dataFolder);
    return true;
}

// The data of `model` in `band` with their New defaults, as New leaves them.
inline void UseModel(Application& app, int model, std::uint16_t band) {
    app.Image().Clear();
    app.Catalogue().SetModel(model);
    app.Catalogue().SetBandWord(band);
    app.Image().InitialiseDefaults(app.Catalogue(), false);
    app.Image().TakeSnapshot();
}

// The smallest screen the program is made for.
inline constexpr QSize kSmallScreen{1366, 768};
// Room a window manager's title bar and borders take around a window.
inline constexpr QSize kWindowDecoration{8, 32};

// The test runs on the small screen (the screen tests run once on it, with
// an offscreen screen of that size): the frame fills it, as the program
// opens on it the first time.
inline bool OnSmallScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    const QSize avail = screen->availableGeometry().size();
    return avail.width() <= kSmallScreen.width() && avail.height() <= kSmallScreen.height();
}

// The main frame on `app` with every editor and dialog registered, shown
// 1280 by 900 (maximised on the small screen); null when it could not be
// made.
inline std::unique_ptr<CMainFrame> ShowFrame(Application& app, Prompter& prompter, FileDialogs& dialogs,
                                            SettingsStore& settings) {
    auto frame = std::make_unique<CMainFrame>(app, prompter, dialogs, settings);
    if (!frame->Create()) return nullptr;
    RegisterViewsAndDialogs(*frame);
    if (OnSmallScreen()) frame->RestorePlacement(std::nullopt);
    else frame->RestorePlacement(std::string("0:1:-1:-1:-1:-1:0:0:1280:900"));
    if (!QTest::qWaitForWindowExposed(frame.get())) return nullptr;
    return frame;
}

// The program started in English on a model, with its frame shown: what
// the editors' tests drive. Start() begins afresh.
struct ProgramFixture {
    QTemporaryDir temp_;
    VirtualClock clock_{{8, 0}};
    std::unique_ptr<Application> app_;
    std::unique_ptr<CMainFrame> frame_;
    ScriptedPrompter prompter_;
    ScriptedFileDialogs dialogs_;
    MemorySettingsStore settings_;

    void Start(int model, std::uint16_t band) {
        frame_.reset();
        app_ = std::make_unique<Application>(clock_);
        QVERIFY(StartApplication(*app_, settings_, prompter_, "en", temp_.path().toStdString()));
        UseModel(*app_, model, band);
        frame_ = ShowFrame(*app_, prompter_, dialogs_, settings_);
        QVERIFY(frame_);
    }
    void Stop() {
        frame_.reset();
        app_.reset();
    }
};

// Runs `body` on the next modal dialog of type T once it shows.
template <typename T, typename F>
void WhenModal(F body) {
    QTimer::singleShot(0, [body] {
        for (int i = 0; i < 300; ++i) {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                body(dialog);
                return;
            }
            QTest::qWait(10);
        }
        qWarning("no modal dialog appeared");
    });
}

// $VRM_SCREENSHOT_DIR, or the test's own temporary folder.
inline QString ScreenshotFolder(const QTemporaryDir& temp) {
    QString dir = qEnvironmentVariable("VRM_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = temp.path();
    QDir().mkpath(dir);
    return dir;
}

inline void CheckFitsScreen(QWidget* window, const QString& where);

// Every label, button, tab title and shown value of `w` is whole; a window
// fits the small screen.
inline void CheckNothingCutOff(QWidget* w, const QString& where) {
    if (w->isWindow()) CheckFitsScreen(w, where);
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->isVisible()) continue;
        QVERIFY2(!l->text().isEmpty(), qPrintable(where + ": empty label"));
        QVERIFY2(l->width() >= l->minimumSizeHint().width() - 1, qPrintable(where + ": label cut off: " + l->text()));
    }
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || b->inherits("QToolButton")) continue;
        QVERIFY2(b->width() >= b->sizeHint().width() - 1, qPrintable(where + ": button cut off: " + b->text()));
    }
    // Tab titles: every tab in view, none shortened, no scroll arrows.
    for (QTabBar* bar : w->findChildren<QTabBar*>()) {
        if (!bar->isVisible()) continue;
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            const int text = bar->fontMetrics().horizontalAdvance(WithoutMnemonic(bar->tabText(i)));
            QVERIFY2(bar->rect().contains(tab) && tab.width() >= text && bar->width() >= bar->sizeHint().width(),
                     qPrintable(where + ": tab title cut off: " + bar->tabText(i)));
        }
    }
    for (QComboBox* c : w->findChildren<QComboBox*>()) {
        if (!c->isVisible() || c->currentText().isEmpty()) continue;
        const int needed = c->fontMetrics().horizontalAdvance(c->currentText()) + 24;
        QVERIFY2(c->width() >= needed, qPrintable(where + ": value cut off: " + c->currentText()));
    }
}

// A top-level window fits the small screen with its title bar and borders,
// and, on the small screen, lies inside the screen's work area.
inline void CheckFitsScreen(QWidget* window, const QString& where) {
    const QSize size = window->frameGeometry().size() + kWindowDecoration;
    QVERIFY2(size.width() <= kSmallScreen.width() && size.height() <= kSmallScreen.height(),
             qPrintable(where + QStringLiteral(": %1 by %2 does not fit the screen").arg(size.width()).arg(size.height())));
    if (OnSmallScreen() && window->isVisible()) {
        QVERIFY2(window->screen()->availableGeometry().contains(window->frameGeometry()),
                 qPrintable(where + QStringLiteral(": opens partly off the screen (%1,%2 %3x%4 on %5x%6)")
                                        .arg(window->frameGeometry().x()).arg(window->frameGeometry().y())
                                        .arg(window->frameGeometry().width()).arg(window->frameGeometry().height())
                                        .arg(window->screen()->availableGeometry().width())
                                        .arg(window->screen()->availableGeometry().height())));
    }
}

// An editor window lies wholly inside the frame's MDI area.
inline void CheckInsideArea(QMdiSubWindow* sub, const QString& where) {
    const QRect area = sub->mdiArea()->viewport()->rect();
    QVERIFY2(area.contains(sub->geometry()),
             qPrintable(where + QStringLiteral(": window %1,%2 %3x%4 outside the area %5x%6")
                                    .arg(sub->x()).arg(sub->y()).arg(sub->width()).arg(sub->height())
                                    .arg(area.width()).arg(area.height())));
}

// An editor window lies wholly inside the frame's MDI area, and its buttons
// outside its scrolling form are in view, none clipped (no other window may
// cover it).
inline void CheckFitsArea(QMdiSubWindow* sub, const QString& where) {
    CheckInsideArea(sub, where);
    for (QAbstractButton* b : sub->widget()->findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || b->inherits("QToolButton")) continue;
        bool scrolls = false;
        for (QWidget* p = b->parentWidget(); p && p != sub; p = p->parentWidget())
            scrolls = scrolls || p->inherits("QAbstractScrollArea");
        if (scrolls) continue;
        QVERIFY2(b->visibleRegion().boundingRect() == b->rect(), qPrintable(where + ": button clipped: " + b->text()));
    }
}

// The seams of a whole program started in a test: settings, prompter and file
// dialogs as given, files in `temp`, no single-copy guard.
inline ShellSeams ProgramSeams(const QTemporaryDir& temp, SettingsStore& settings, ScriptedPrompter& prompter,
                               ScriptedFileDialogs& dialogs) {
    ShellSeams seams;
    seams.settings = &settings;
    seams.prompter = &prompter;
    seams.fileDialogs = &dialogs;
    seams.programFolder = QStringLiteral(VRM_BIN_DIR);
    seams.documentsFolder = temp.filePath(QStringLiteral("documents"));
    seams.singleInstance = false;
    seams.stateFolder = temp.filePath(QStringLiteral("state"));
    return seams;
}

// The program's port loads "libpipelink.so" by name, as `make run` has it:
// a test of the real load path starts itself again once with the simulated
// radio's copy first on the library path. Returns in the restarted process.
inline void RestartWithSimulatedRadio(char** argv) {
    if (std::getenv("VRM_SIM_TEST_STARTED")) return;
    ::setenv("VRM_SIM_TEST_STARTED", "1", 1);
    ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
    ::execv("/proc/self/exe", argv);
    std::abort();
}

}  // namespace vrm::test
