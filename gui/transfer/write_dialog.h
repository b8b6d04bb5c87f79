// "Write Data to the Transceiver" (resource 237): writes the document's live
// image into the radio. The dialog's two settings, "Adjust Time" and
// "Continuous", belong to the caller, which keeps them for the program run.
// "Adjust Time" is only remembered and never shown. "Continuous" keeps the
// dialog open after a successful write, ready for the next radio; the part
// of the dialog below the separator, where its check box sits, is shown
// only while it is on, so the user sees the mode and can switch it off.
#pragma once

#include "gui/transfer/read_dialog.h"
#include "core/link/write_transfer.h"
#include "core/link/safe_write.h"

class QCheckBox;
class QFrame;
class QLabel;
class QWidget;

namespace vrm {

class WriteDialog final : public TransferDialog {
    Q_OBJECT
public:
    WriteDialog(const TransferDialogContext& context, WriteSettings& settings, QWidget* parent);

    // What the write does around the transfer (backup, verify, log); the
    // default turns all three off.
    void SetWriteOptions(const SafeWriteOptions& options) { options_ = options; }

    const TransferResult& Result() const { return result_; }
    const SafeWriteResult& LastWrite() const { return last_; }
    QLabel* CountLabel() const { return count_; }
    // Radios written successfully while the dialog was open.
    int RadiosWritten() const { return written_; }

    // The phase of the write (backup, write, verify) under the progress bar;
    // empty while no write runs.
    QLabel* Phase() const { return phase_; }

    // The phase follows the window text.
    void OnWindowText(const std::string& text) override;

    QCheckBox* AdjustTimeBox() const { return adjustTime_; }
    QCheckBox* ContinuousBox() const { return continuous_; }
    QFrame* Separator() const { return separator_; }

protected:
    void OnStart() override;

private:
    void ShowContinuousArea(bool shown);

    WriteSettings& settings_;
    QCheckBox* adjustTime_ = nullptr;
    QCheckBox* continuous_ = nullptr;
    QFrame* separator_ = nullptr;
    QWidget* lower_ = nullptr;
    TransferResult result_;
    SafeWriteResult last_;
    SafeWriteOptions options_ = [] {
        SafeWriteOptions o;
        o.backup = o.verify = o.log = false;
        return o;
    }();
    QLabel* count_ = nullptr;
    QLabel* phase_ = nullptr;
    std::string lastSerial_;
    int written_ = 0;
};

}  // namespace vrm
