// What the desktop tests share: an application started as the program starts
// (language file, data), and the folder screenshots go to.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QString>
#include <QTemporaryDir>
#include <string>

#include "app/application.h"
#include "app/settings_store.h"
#include "text/prompter.h"

namespace vrm::test {

// Start-up's language and data steps with the language file `vrm650t_<lang>.lng`.
inline bool StartApplication(Application& app, MemorySettingsStore& settings, Prompter& prompter,
                             const std::string& lang, const std::string& dataFolder) {
    settings.WriteString(kSettingLanguageName, "vrm650t_" + lang + ".lng");
    app.SetProgramFolder(VRM_BIN_DIR);
    if (!app.LoadLanguageAtStartup(settings, prompter)) return false;
    app.PrepareData(settings, dataFolder);
    return true;
}

// $VRM_SCREENSHOT_DIR, or the test's own temporary folder.
inline QString ScreenshotFolder(const QTemporaryDir& temp) {
    QString dir = qEnvironmentVariable("VRM_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = temp.path();
    QDir().mkpath(dir);
    return dir;
}

// Every label, button and shown value of `w` is whole.
inline void CheckNothingCutOff(QWidget* w, const QString& where) {
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->isVisible()) continue;
        QVERIFY2(!l->text().isEmpty(), qPrintable(where + ": empty label"));
        QVERIFY2(l->width() >= l->minimumSizeHint().width() - 1, qPrintable(where + ": label cut off: " + l->text()));
    }
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || b->inherits("QToolButton")) continue;
        QVERIFY2(b->width() >= b->sizeHint().width() - 1, qPrintable(where + ": button cut off: " + b->text()));
    }
    for (QComboBox* c : w->findChildren<QComboBox*>()) {
        if (!c->isVisible() || c->currentText().isEmpty()) continue;
        const int needed = c->fontMetrics().horizontalAdvance(c->currentText()) + 24;
        QVERIFY2(c->width() >= needed, qPrintable(where + ": value cut off: " + c->currentText()));
    }
}

}  // namespace vrm::test
