#include "gui/transfer/write_dialog.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/base/text_format.h"
#include "core/model/radio_image.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

WriteDialog::WriteDialog(const TransferDialogContext& context, WriteSettings& settings, QWidget* parent)
    : TransferDialog(context, parent), settings_(settings) {
    setObjectName(QStringLiteral("WriteDialog"));
    BuildTransferArea(tid::kWriteWindowTitle, tid::kWriteWindowRunning, tid::kButtonWrite);

    // The phase line under the progress bar, wide enough for the longest
    // phase so that the dialog keeps its size while the write runs.
    phase_ = new QLabel(this);
    phase_->setObjectName(QStringLiteral("phase"));
    phase_->setTextFormat(Qt::PlainText);
    int phaseWidth = 0;
    for (const std::uint32_t id : {tid::kSafeWriteBackingUp, tid::kWriteWindowRunning, tid::kSafeWriteVerifying})
        phaseWidth = std::max(phaseWidth, phase_->fontMetrics().horizontalAdvance(LangText(language_, id)));
    phase_->setMinimumWidth(phaseWidth);
    phase_->setMinimumHeight(phase_->fontMetrics().height());
    if (auto* column = qobject_cast<QVBoxLayout*>(layout())) column->insertWidget(column->indexOf(Progress()) + 1, phase_);

    separator_ = new QFrame(this);
    separator_->setObjectName(QStringLiteral("separator"));
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);

    lower_ = new QWidget(this);
    adjustTime_ = new QCheckBox(LangText(language_, tid::kWriteAdjustTime), lower_);
    adjustTime_->setObjectName(QStringLiteral("adjustTime"));
    continuous_ = new QCheckBox(LangText(language_, tid::kWriteContinuous), lower_);
    continuous_->setObjectName(QStringLiteral("continuous"));
    adjustTime_->setChecked(settings_.adjustTime);
    continuous_->setChecked(settings_.continuous);
    // "Adjust Time" has no effect on the radio: it stays hidden.
    adjustTime_->hide();
    auto* column = new QVBoxLayout(lower_);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    // Continuous: how many radios this run has written, and the last one.
    count_ = new QLabel(lower_);
    count_->setObjectName(QStringLiteral("count"));
    count_->setWordWrap(true);
    count_->hide();
    column->addWidget(count_);
    row->addWidget(adjustTime_);
    row->addWidget(continuous_);
    row->addStretch(1);

    layout()->addWidget(separator_);
    layout()->addWidget(lower_);

    connect(adjustTime_, &QCheckBox::toggled, this, [this](bool on) { settings_.adjustTime = on; });
    connect(continuous_, &QCheckBox::toggled, this, [this](bool on) { settings_.continuous = on; });
    ShowContinuousArea(settings_.continuous);
}

void WriteDialog::OnWindowText(const std::string& text) {
    TransferDialog::OnWindowText(text);
    // The idle window text ends a phase: the line is cleared, not hidden, so
    // that nothing moves.
    if (!phase_) return;
    const bool idle = text == language_.TextString(tid::kWriteWindowTitle);
    phase_->setText(idle ? QString() : WithoutMnemonic(QString::fromStdString(text)));
}

void WriteDialog::ShowContinuousArea(bool shown) {
    // The dialog ends at the separator unless "Continuous" is on.
    separator_->setVisible(shown);
    lower_->setVisible(shown);
}

void WriteDialog::OnStart() {
    BeginRunning({adjustTime_, continuous_});
    repaint();
    if (QWidget* frame = parentWidget()) frame->window()->repaint();
    const bool continuous = settings_.continuous;
    const ImageBuffer& live = image_.Live();
    if (!RunTransfer([&](const TransferContext& ctx) { last_ = SafeWriteToRadio(ctx, live, continuous, options_); })) {
        EndRunning();
        return;
    }
    result_ = last_.write;
    if (!last_.Ok() && result_.Ok()) result_.status = TransferStatus::kBlockFailed;  // verify or backup failed
    if (last_.Ok()) {
        ++written_;
        lastSerial_ = last_.radio.serial;
        // Without the radio's information (backup and log off) the serial
        // number is not known: the count alone.
        const std::string text =
            lastSerial_.empty() ? FormatText(language_.TextString(tid::kContinuousCountOnly), {written_})
                                : FormatText(language_.TextString(tid::kContinuousCount), {written_, lastSerial_});
        count_->setText(QString::fromStdString(text));
        count_->show();
    }
    if (last_.Ok() && continuous) {
        // Ready for the next radio: progress 0 / 64 and the window text are
        // back (the transfer set them); the controls follow.
        EndRunning();
        StartButton()->setFocus();
        return;
    }
    Finish(result_.Ok() ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace vrm
