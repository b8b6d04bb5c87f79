#include "gui/transfer/read_dialog.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/model/radio_image.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

constexpr int kMinimumProgressWidth = 360;
// What a title bar needs beside its text: the icon and the buttons.
constexpr int kTitleBarExtras = 110;

// A title bar with the system menu and the close button, nothing else.
constexpr Qt::WindowFlags kIdleFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

}  // namespace

TransferDialog::TransferDialog(const TransferDialogContext& context, QWidget* parent)
    : QDialog(parent, kIdleFlags),
      image_(context.image),
      language_(context.language),
      prompter_(context.prompter),
      transfer_(context.transfers, context.prompter, context.language, *this, this) {}

TransferDialog::~TransferDialog() = default;

void TransferDialog::BuildTransferArea(std::uint32_t windowText, std::uint32_t runningText, std::uint32_t startText) {
    setWindowTitle(WithoutMnemonic(LangText(language_, windowText)));

    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setTextFormat(Qt::PlainText);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    // Room for the longer window text in the title bar (window managers
    // often set it in bold), beside the window manager's icon and buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    const int titleWidth = std::max(title.horizontalAdvance(WithoutMnemonic(LangText(language_, windowText))),
                                    title.horizontalAdvance(WithoutMnemonic(LangText(language_, runningText))));
    progress_->setMinimumWidth(std::max(kMinimumProgressWidth, titleWidth + kTitleBarExtras));

    start_ = new QPushButton(LangText(language_, startText), this);
    start_->setObjectName(QStringLiteral("start"));
    cancel_ = new QPushButton(LangText(language_, tid::kButtonCancel), this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    help_ = new QPushButton(LangText(language_, tid::kButtonHelp), this);
    help_->setObjectName(QStringLiteral("help"));
    start_->setDefault(true);
    start_->setAutoDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(progress_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(start_, &QPushButton::clicked, this, [this] {
        if (!running_) OnStart();
    });
    connect(cancel_, &QPushButton::clicked, this, &TransferDialog::reject);
    connect(help_, &QPushButton::clicked, this, [this] {
        if (helpHandler_) helpHandler_();
    });

    OnProgress(0, kTransferBlocks, ProgressCaption(language_, 0));
}

void TransferDialog::OnProgress(int done, int total, const std::string& caption) {
    progress_->setRange(0, total);
    progress_->setValue(done);
    caption_->setText(QString::fromStdString(caption));
    // Screen readers hear the phase and the percent at every tenth and at the
    // end, not at every block.
    const int percent = total > 0 ? done * 100 / total : 0;
    if (percent / 10 != spokenTenth_ || done == total) {
        spokenTenth_ = percent / 10;
        progress_->setAccessibleName(windowTitle());
        progress_->setAccessibleDescription(QString::fromStdString(
            FormatText(language_.TextString(tid::kAccProgress), {windowTitle().toStdString(), percent})));
    }
}

void TransferDialog::OnWindowText(const std::string& text) { setWindowTitle(WithoutMnemonic(QString::fromStdString(text))); }

void TransferDialog::BeginRunning(const std::vector<QWidget*>& extra) {
    disabled_ = {start_, cancel_, help_};
    disabled_.insert(disabled_.end(), extra.begin(), extra.end());
    for (QWidget* w : disabled_) w->setEnabled(false);
    running_ = true;
    pinned_ = pos();
    SetCloseAllowed(false);
}

void TransferDialog::EndRunning() {
    running_ = false;
    SetCloseAllowed(true);
    for (QWidget* w : disabled_) w->setEnabled(true);
    disabled_.clear();
}

void TransferDialog::Finish(int result) {
    EndRunning();
    done(result);
}

void TransferDialog::SetCloseAllowed(bool allowed) {
    // The close button and the window menu go away for the window manager
    // while a transfer runs: a title bar without any button. The flags are
    // changed on the native window directly, so the dialog is not hidden and
    // shown again.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowCloseButtonHint, allowed);
    flags.setFlag(Qt::WindowSystemMenuHint, allowed);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void TransferDialog::reject() {
    if (running_) return;  // Escape and Cancel do nothing while a transfer runs
    QDialog::reject();
}

void TransferDialog::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TransferDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // The window manager moves the window; while a transfer runs it is put
    // back where it was when the transfer started.
    if (running_ && isVisible() && pos() != pinned_) move(pinned_);
}

// ---------------------------------------------------------------------------

ReadDialog::ReadDialog(const TransferDialogContext& context, QWidget* parent) : TransferDialog(context, parent) {
    setObjectName(QStringLiteral("ReadDialog"));
    BuildTransferArea(tid::kReadWindowTitle, tid::kReadWindowRunning, tid::kButtonRead);
}

void ReadDialog::OnStart() {
    BeginRunning();
    ImageBuffer& target = image_.Transfer();
    if (!RunTransfer([&](const TransferContext& ctx) { result_ = ReadDataFromRadio(ctx, target); })) {
        EndRunning();
        return;
    }
    Finish(result_.Ok() ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace vrm
