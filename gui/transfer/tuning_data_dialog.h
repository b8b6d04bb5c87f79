// Tuning Data (resource 229): reads, writes and restores the radio's tuning
// values and keeps them in tuning files. The grid shows the fourteen rows
// (value = stored byte + 1; a typed value is clamped into the row's range).
//
// Write is enabled only while values are held (read from a radio, restored,
// or loaded from a file). While a transfer runs every control is disabled
// and the window cannot be closed, as in the read and write dialogs.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/files/tuning_file.h"
#include "core/link/transfer_dialog_context.h"
#include "core/link/transfer_observer.h"
#include "gui/transfer/transfer_thread.h"
#include "core/link/tuning_transfer.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace vrm {

class TuningDataDialog final : public QDialog, public TransferObserver {
    Q_OBJECT
public:
    // `backupFolder`: where the radio's values are kept before write and
    // restore (empty: none are kept).
    TuningDataDialog(const TransferDialogContext& context, std::string backupFolder, QWidget* parent);

    // The file dialogs (tests replace them): the chosen path, or empty for
    // Cancel. `save` asks for a file to write, else for one to open.
    using FileChooser = std::function<std::string(bool save, const std::string& folder, const std::string& name)>;
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }

    // The buttons' actions (the tests call them as the buttons do).
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnRead();
    void OnWrite();
    void OnRestore();

    const TuningSet& Values() const { return set_; }
    bool Running() const { return running_; }
    QTableWidget* Grid() const { return grid_; }
    QPushButton* WriteButton() const { return write_; }
    QProgressBar* Progress() const { return progress_; }
    QLabel* FileName() const { return fileName_; }
    QLabel* Information() const { return information_; }

    // The tuning folder and the name used last, kept for the program run.
    static std::string& Folder();
    static std::string& LastName();

    // TransferObserver (called on the user-interface thread).
    void OnProgress(int done, int total, const std::string& caption) override;

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The grid with the file name, the radio's information and the progress
    // bar below it.
    QVBoxLayout* BuildLeftColumn();
    QVBoxLayout* BuildButtonColumn();
    void Fill();
    void SizeGrid();
    void OnCellChanged(int row, int column);
    void SetRunning(bool running);
    void WriteFile(const std::string& path);
    std::string Text(std::uint32_t id) const;

    const LanguageTable& language_;
    Prompter& prompter_;
    DialogTransfer transfer_;
    std::string backupFolder_;
    TuningSet set_;
    std::string name_;
    FileChooser chooser_;
    std::function<void()> helpHandler_;
    bool running_ = false;
    bool filling_ = false;

    QTableWidget* grid_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* fileName_ = nullptr;
    QLabel* information_ = nullptr;
    QPushButton* write_ = nullptr;
    std::vector<QWidget*> controls_;
};

}  // namespace vrm
