// DesktopApp: the desktop program's start-up and exit around the core
// Application: settings in QSettings, the language, the data of the last
// model, the single running copy, the main frame where the user left it.
// Tests hand in their own settings store, prompter, file dialogs and
// folders.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace vrm {

class Application;
class CMainFrame;
class FileDialogs;
class Prompter;
class PresetOpenDialogs;
class QtFileDialogs;
class QtPrompter;
class SettingsStore;
class SingleInstance;

struct ShellSeams {
    SettingsStore* settings = nullptr;    // null: the user's QSettings
    Prompter* prompter = nullptr;         // null: message boxes
    FileDialogs* fileDialogs = nullptr;   // null: the program's file dialogs
    QString programFolder;                // "": the executable's folder
    QString documentsFolder;              // "": the user's documents folder
    QString runtimeFolder;                // "": the user's runtime folder (single instance)
    QString instanceName;                 // "": the program's file name
    bool singleInstance = true;
    // Recovery copies: "" keeps them in the user's state folder for the real
    // program; a program given a settings store (a test) keeps none unless
    // it names a folder here.
    QString stateFolder;
};

class DesktopApp final {
public:
    explicit DesktopApp(ShellSeams seams = {});
    ~DesktopApp();
    DesktopApp(const DesktopApp&) = delete;
    DesktopApp& operator=(const DesktopApp&) = delete;

    enum class Start { Running, SecondCopy, Failed };
    // Steps 1-11 of the start-up; the arguments are those after the program
    // name.
    Start InitInstance(const QStringList& arguments);
    // Writes the settings back (only after a completed start-up).
    void ExitInstance();

    Application& App() { return *app_; }
    CMainFrame* Frame() const { return frame_.get(); }
    SettingsStore& Settings() { return *settings_; }
    Prompter& GetPrompter() { return *prompter_; }
    int ColourDepth() const { return colourDepth_; }

private:
    // Recovery: the offer after a crash, the copy kept while the data is
    // modified, and SIGTERM/SIGHUP keeping settings and copy before the end.
    void StartRecovery();
    void OfferRecovery();
    // A write that did not finish (its "started" row is the last of it in
    // the programming log): said at the start, with its backup or its file
    // opened when the user asks.
    void ReportUnfinishedWrites();
    void InstallTerminationSignals();
    void OnTerminationSignal();

    ShellSeams seams_;
    bool endedBySignal_ = false;
    std::unique_ptr<Application> app_;
    std::unique_ptr<SettingsStore> ownSettings_;
    std::unique_ptr<QtPrompter> ownPrompter_;
    std::unique_ptr<QtFileDialogs> ownDialogs_;
    std::unique_ptr<PresetOpenDialogs> presetDialogs_;
    SettingsStore* settings_ = nullptr;
    Prompter* prompter_ = nullptr;
    FileDialogs* dialogs_ = nullptr;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<CMainFrame> frame_;
    int colourDepth_ = 0;
    bool started_ = false;
};

// Adds the views of the editors and the dialogs of the transfers to the
// frame (app/registrations_qt.cpp: each editor and transfer adds its line).
void RegisterViewsAndDialogs(CMainFrame& frame);

// The whole program: start-up, the event loop, exit.
int RunDesktopProgram(int argc, char** argv);

}  // namespace vrm
