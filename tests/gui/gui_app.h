// What the desktop tests share: an application started as the program starts
// (language file, data), and the folder screenshots go to.
#pragma once

#include <QDir>
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

}  // namespace vrm::test
