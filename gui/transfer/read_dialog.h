// The read dialog ("Read Data from the Transceiver") and TransferDialog, the
// progress dialog it shares with the write dialog.
//
// TransferDialog is the transfer's observer: the core's progress moves the bar
// and its caption, the core's window texts become the title. The transfer
// runs off the user-interface thread (DialogTransfer), so the dialog repaints
// and answers while the program waits on the radio.
// While a transfer runs the dialog's controls are disabled and the window
// cannot be closed (the close button is withdrawn from the window manager,
// close requests and Escape are ignored) or moved (a move is undone at once).
#pragma once

#include <QDialog>
#include <QPoint>
#include <functional>
#include <vector>

#include "core/link/read_transfer.h"
#include "core/link/transfer_dialog_context.h"
#include "core/link/transfer_observer.h"
#include "gui/transfer/transfer_thread.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vrm {

class TransferDialog : public QDialog, public TransferObserver {
    Q_OBJECT
public:
    TransferDialog(const TransferDialogContext& context, QWidget* parent);
    ~TransferDialog() override;

    bool Running() const { return running_; }
    QProgressBar* Progress() const { return progress_; }
    QLabel* Caption() const { return caption_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* HelpButton() const { return help_; }

    // What the Help button does (the caller opens the help page).
    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }

    // TransferObserver (called on the user-interface thread).
    void OnProgress(int done, int total, const std::string& caption) override;
    void OnWindowText(const std::string& text) override;

    // Asks the running transfer to stop at its next step, as a stop by the
    // user: the radio leaves program mode (a write is abandoned with the
    // radio's abort) and the user is told what it holds.
    void RequestStop() { transfer_.Stop(); }

    void reject() override;

protected:
    // Builds the progress area and the button row; the start button's text
    // is `startText`. The dialog is made wide enough for both window texts
    // (idle and running) to fit its title bar.
    void BuildTransferArea(std::uint32_t windowText, std::uint32_t runningText, std::uint32_t startText);
    // Runs the transfer's steps off the user-interface thread on a port of
    // their own, with this dialog as observer; false (nothing run) while
    // another transfer runs.
    bool RunTransfer(const std::function<void(const TransferContext&)>& steps) { return transfer_.Run(steps); }
    // Running: the buttons and `extra` disabled, the close button withdrawn,
    // the position pinned.
    void BeginRunning(const std::vector<QWidget*>& extra = {});
    void EndRunning();
    // Ends the dialog even while the running flag is still set.
    void Finish(int result);

    virtual void OnStart() = 0;

    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

    RadioImage& image_;
    const LanguageTable& language_;
    Prompter& prompter_;

private:
    void SetCloseAllowed(bool allowed);

    QProgressBar* progress_ = nullptr;
    int spokenTenth_ = -1;  // the last tenth of the transfer told to screen readers
    QLabel* caption_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    DialogTransfer transfer_;
    std::vector<QWidget*> disabled_;
    std::function<void()> helpHandler_;
    bool running_ = false;
    QPoint pinned_;
};

// "Read Data from the Transceiver" (resource 236). Ends with Accepted only
// after a complete, successful read into the transfer image; the caller then
// adopts the data.
class ReadDialog final : public TransferDialog {
    Q_OBJECT
public:
    ReadDialog(const TransferDialogContext& context, QWidget* parent);

    const TransferResult& Result() const { return result_; }

protected:
    void OnStart() override;

private:
    TransferResult result_;
};

}  // namespace vrm
