// Radio Information (resource 150): reads the radio's model, band, serial
// number, firmware and boot versions and checksum as soon as it opens and
// shows them. Holding Ctrl and F2 while it opens shows the identity variant
// (the whole information block, the catalogue's model name and band of the
// radio's identity). The Option Settings row is never shown.
#pragma once

#include <QDialog>
#include <functional>

#include "core/link/radio_info.h"
#include "core/exchange/print_document.h"
#include "core/link/transfer_dialog_context.h"
#include "core/link/transfer_observer.h"
#include "gui/transfer/transfer_thread.h"

class QGridLayout;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vrm {

// Qt can ask for the modifier keys held at a moment but not for other keys:
// this watch follows F2's presses and releases through the whole program so
// that the dialog can tell whether F2 is held as it opens.
class FunctionKeyWatch final : public QObject {
    Q_OBJECT
public:
    // Once for the program run (again does nothing).
    static void Install();
    static bool F2Held();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

// Ctrl (as the platform reports it now) and F2 (as the watch saw it).
bool IdentityViewKeysHeld();

class RadioInfoDialog final : public QDialog, public TransferObserver {
    Q_OBJECT
public:
    // `identityView`: the Ctrl+F2 variant, decided as the command runs. The
    // context's image is not used: the dialog shows what the radio sends.
    RadioInfoDialog(const TransferDialogContext& context, bool identityView, QWidget* parent);

    // Runs the transfer now (the dialog does so by itself once it is shown).
    void RunTransfer();

    bool Running() const { return running_; }
    bool Transferred() const { return transferred_; }
    const RadioInformation& Record() const { return record_; }
    const TransferResult& Result() const { return result_; }

    QLabel* ModelType() const { return values_[0]; }
    QLabel* Frequency() const { return values_[1]; }
    QLabel* SerialNumber() const { return values_[2]; }
    QLabel* FirmwareVersion() const { return values_[3]; }
    QLabel* BootVersion() const { return values_[4]; }
    QLabel* Checksum() const { return values_[5]; }
    QPushButton* CloseButton() const { return close_; }
    QPushButton* HelpButton() const { return help_; }
    QPushButton* PrintButton() const { return print_; }

    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }
    // Print hands the dialog to the print path (the preview); the button is
    // enabled once the radio has answered.
    void SetPrintHandler(std::function<void()> handler) { printHandler_ = std::move(handler); }
    // The values shown as a print-out, with the date and time of printing.
    print::Document PrintOut(const std::string& printedAt) const;


    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The six labelled values, in a grid.
    QGridLayout* BuildValues();
    void ShowValues();

    const LanguageTable& language_;
    Prompter& prompter_;
    DialogTransfer transfer_;
    bool identityView_;
    RadioInformation record_;
    TransferResult result_;
    QLabel* values_[6] = {};
    QLabel* optionLabel_ = nullptr;
    QTableWidget* optionGrid_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* print_ = nullptr;
    std::function<void()> helpHandler_;
    std::function<void()> printHandler_;
    bool running_ = false;
    bool transferred_ = false;
    bool queued_ = false;
};

}  // namespace vrm
