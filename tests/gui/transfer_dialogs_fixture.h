// What the transfer dialog tests share: a main frame with the program's own
// port, a simulated radio whose state lives in a temporary file, and the
// helpers that drive a modal transfer dialog as a user does.
//
// The program's own port loads "libpipelink.so" by name. Each test starts
// itself again with the simulated radio's copy first on the library path
// (as `make run` does), so the real dlopen path runs against that radio.
#pragma once

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProgressBar>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <functional>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "text/scripted_prompter.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "core/base/clock.h"
#include "gui/transfer/memory_map_dialog.h"
#include "core/link/programming_port.h"
#include "core/link/transfer_gate.h"
#include "core/link/transport.h"
#include "gui/transfer/radio_info_dialog.h"
#include "gui/transfer/read_dialog.h"
#include "gui/transfer/write_dialog.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "sim/sim_state.h"
#include "gui/widgets/editor_view.h"
#include "gui_app.h"


namespace vrm::test {

class FakeView final : public EditorView {
public:
    explicit FakeView(const std::string& viewClass) : EditorView(viewClass) { resize(200, 100); }
    void RefreshFromImage() override { ++refreshes; }
    bool HandleCommand(int) override { return false; }
    int refreshes = 0;
};

// What a transfer dialog looked like while its transfer ran (seen from the
// first pause between protocol steps).
struct RunningState {
    bool seen = false;
    bool running = false;
    bool controlsDisabled = false;
    bool closeButtonWithdrawn = false;
    bool stayedOpenOnClose = false;
    bool stayedOpenOnEscape = false;
    bool stayedInPlace = false;
    QString title;
};

inline void WatchWhileRunning(TransferDialog* dialog, RunningState& state, const std::vector<QWidget*>& more = {}) {
    QTimer::singleShot(0, dialog, [dialog, &state, more] {
        state.seen = true;
        state.running = dialog->Running();
        state.controlsDisabled = !dialog->StartButton()->isEnabled() && !dialog->CancelButton()->isEnabled() &&
                                 !dialog->HelpButton()->isEnabled();
        for (QWidget* w : more) state.controlsDisabled = state.controlsDisabled && !w->isEnabled();
        state.closeButtonWithdrawn = !(dialog->windowFlags() & Qt::WindowCloseButtonHint) &&
                                     dialog->windowHandle() &&
                                     !(dialog->windowHandle()->flags() & Qt::WindowCloseButtonHint);
        state.title = dialog->windowTitle();
        // The user tries to close it, to press Escape and to drag it away.
        const bool closed = dialog->close();
        state.stayedOpenOnClose = !closed && dialog->isVisible();
        QTest::keyClick(dialog, Qt::Key_Escape);
        state.stayedOpenOnEscape = dialog->isVisible();
        const QPoint before = dialog->pos();
        dialog->move(before + QPoint(60, 40));
        state.stayedInPlace = dialog->pos() == before;
    });
}

// A recognisable memory: every byte differs from its neighbours, none is
// 0xFF, and the microphone-sense byte is one the load fix-up keeps.
inline ImageBuffer PatternMemory() {
    ImageBuffer m{};
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>((i * 7 + 3) % 251);
    m[kFeatureArea.offset + 6] = 1;
    return m;
}

inline ModelIdentity IdentityOf(int model, std::uint16_t bandWord) {
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(model);
    catalogue.SetBandWord(bandWord);
    return image.Identity();
}

class TransferDialogsFixture : public QObject {
protected:
    VirtualClock clock_;
    std::unique_ptr<QTemporaryDir> temp_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<MemorySettingsStore> settings_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<test::ScriptedFileDialogs> dialogs_;
    std::unique_ptr<CMainFrame> frame_;
    std::string state_;

    QString T(tid::TextId id) const { return QString::fromUtf8(app_->Language().Text(id)); }
    std::string S(tid::TextId id) const { return app_->Language().TextString(id); }
    // What the frame hands a transfer dialog: the program's transfers, image
    // and language, and the test's prompter.
    TransferDialogContext Context() { return {app_->Transfers(), app_->Image(), app_->Language(), *prompter_}; }

    void Start(std::vector<std::string> args = {}) {
        frame_.reset();
        temp_ = std::make_unique<QTemporaryDir>();
        state_ = temp_->filePath(QStringLiteral("radio.state")).toStdString();
        ::setenv("VRM650T_SIM_STATE", state_.c_str(), 1);
        ::unsetenv("VRM650T_SIM_FAULTS");
        app_ = std::make_unique<Application>(clock_);
        settings_ = std::make_unique<MemorySettingsStore>();
        prompter_ = std::make_unique<test::ScriptedPrompter>();
        dialogs_ = std::make_unique<test::ScriptedFileDialogs>();
        app_->ReadCommandLine(args);
        app_->SetProgramFolder(VRM_BIN_DIR);
        QVERIFY(app_->LoadLanguageAtStartup(*settings_, *prompter_));
        app_->PrepareData(*settings_, temp_->path().toStdString());
        frame_ = std::make_unique<CMainFrame>(*app_, *prompter_, *dialogs_, *settings_);
        QVERIFY(frame_->Create());
        RegisterViewsAndDialogs(*frame_);
        frame_->RegisterEditorView("CKeyView", [](CMainFrame&, QWidget*) -> EditorView* { return new FakeView("CKeyView"); });
        frame_->show();
        frame_->OnModelChanged();
    }

    // The simulated radio the next transfer finds.
    SimulatedRadio Radio() {
        SimulatedRadio radio;
        std::string error;
        if (!LoadSimState(state_, radio, &error)) qWarning("%s", error.c_str());
        return radio;
    }
    void SetRadio(const SimulatedRadio& radio) {
        std::string error;
        QVERIFY2(SaveSimState(state_, radio, &error), error.c_str());
    }
    void Faults(const char* faults) { ::setenv("VRM650T_SIM_FAULTS", faults, 1); }

    std::vector<std::string> RadioLog() { return Radio().Log(); }
    std::vector<std::string> WritesLogged() {
        std::vector<std::string> writes;
        for (const std::string& line : RadioLog())
            if (line.rfind("write ", 0) == 0) writes.push_back(line);
        return writes;
    }

    // Runs Program > Read Data from Radio and presses Read.
    RunningState ReadThroughFrame() {
        RunningState state;
        WhenModal<ReadDialog>([&state](ReadDialog* dialog) {
            WatchWhileRunning(dialog, state);
            dialog->StartButton()->click();
        });
        frame_->RunCommand(cmd::kReadData);
        return state;
    }


    void Stop() {
        frame_.reset();
        app_.reset();
        ::unsetenv("VRM650T_SIM_FAULTS");
    }
};

}  // namespace vrm::test
