#include "gui/transfer/tuning_data_dialog.h"

#include <sys/stat.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "core/link/programming_port.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

std::string DefaultChooser(QWidget* parent, const LanguageTable& language, bool save, const std::string& folder,
                           const std::string& name) {
    const QString filter = QString::fromStdString(
        FormatText("%s (*.tun)", {language.TextString(tid::kTuningFileFilter)}));
    const QString start = QString::fromStdString(folder + name);
    const QString chosen = save ? QFileDialog::getSaveFileName(parent, QString(), start, filter)
                                : QFileDialog::getOpenFileName(parent, QString(), QString::fromStdString(folder), filter);
    return chosen.toStdString();
}

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    const auto slash = path.rfind('/');
    folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string& TuningDataDialog::Folder() {
    static std::string folder;
    return folder;
}

std::string& TuningDataDialog::LastName() {
    static std::string name = kTuningDefaultName;
    return name;
}

std::string TuningDataDialog::Text(std::uint32_t id) const { return language_.TextString(id); }

TuningDataDialog::TuningDataDialog(const TransferDialogContext& context, std::string backupFolder, QWidget* parent)
    : QDialog(parent),
      language_(context.language),
      prompter_(context.prompter),
      transfer_(context.transfers, context.prompter, context.language, *this, this),
      backupFolder_(std::move(backupFolder)),
      name_(LastName()) {
    setObjectName(QStringLiteral("TuningDataDialog"));
    setWindowTitle(WithoutMnemonic(LangText(language_, tid::kTuningWindowTitle)));
    chooser_ = [this](bool save, const std::string& folder, const std::string& name) {
        return DefaultChooser(this, language_, save, folder, name);
    };

    grid_ = new QTableWidget(kTuningRows, 2, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setAccessibleName(windowTitle());
    grid_->setTabKeyNavigation(false);  // Tab goes on to the buttons; the arrow keys go from cell to cell
    grid_->setHorizontalHeaderLabels({LangText(language_, tid::kTuningItemHeading),
                                      LangText(language_, tid::kTuningValueHeading)});
    grid_->verticalHeader()->setVisible(false);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);

    QVBoxLayout* radioButtons = BuildButtonColumn();
    controls_.push_back(grid_);
    QVBoxLayout* left = BuildLeftColumn();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(radioButtons);
    connect(grid_, &QTableWidget::cellChanged, this, &TuningDataDialog::OnCellChanged);
    Fill();
    SizeGrid();
}

// The file and radio buttons on the right, each connected to its command.
QVBoxLayout* TuningDataDialog::BuildButtonColumn() {
    auto button = [this](std::uint32_t id, const char* name) {
        auto* b = new QPushButton(LangText(language_, id), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        controls_.push_back(b);
        return b;
    };
    QPushButton* open = button(tid::kCmdOpen, "open");
    QPushButton* save = button(tid::kCmdSave, "save");
    QPushButton* saveAs = button(tid::kCmdSaveAs, "saveAs");
    QPushButton* read = button(tid::kButtonRead, "read");
    write_ = button(tid::kButtonWrite, "write");
    QPushButton* restore = button(tid::kTuningRestoreButton, "restore");
    QPushButton* help = button(tid::kButtonHelp, "help");
    QPushButton* close = button(tid::kButtonClose, "close");

    auto* fileBox = new QGroupBox(LangText(language_, tid::kTuningFileGroup), this);
    auto* fileButtons = new QVBoxLayout(fileBox);
    for (QPushButton* b : {open, save, saveAs}) fileButtons->addWidget(b);
    auto* radioButtons = new QVBoxLayout;
    radioButtons->addWidget(fileBox);
    for (QPushButton* b : {read, write_, restore}) radioButtons->addWidget(b);
    radioButtons->addStretch(1);
    for (QPushButton* b : {help, close}) radioButtons->addWidget(b);

    connect(open, &QPushButton::clicked, this, &TuningDataDialog::OnOpen);
    connect(save, &QPushButton::clicked, this, &TuningDataDialog::OnSave);
    connect(saveAs, &QPushButton::clicked, this, &TuningDataDialog::OnSaveAs);
    connect(read, &QPushButton::clicked, this, &TuningDataDialog::OnRead);
    connect(write_, &QPushButton::clicked, this, &TuningDataDialog::OnWrite);
    connect(restore, &QPushButton::clicked, this, &TuningDataDialog::OnRestore);
    connect(help, &QPushButton::clicked, this, [this] {
        if (helpHandler_) helpHandler_();
    });
    connect(close, &QPushButton::clicked, this, &TuningDataDialog::reject);
    return radioButtons;
}

QVBoxLayout* TuningDataDialog::BuildLeftColumn() {
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, kTuningProgressRange);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    fileName_ = new QLabel(this);
    fileName_->setObjectName(QStringLiteral("fileName"));
    information_ = new QLabel(this);
    information_->setObjectName(QStringLiteral("information"));
    auto* statics = new QGridLayout;
    statics->addWidget(new QLabel(LangText(language_, tid::kTuningFileNameLabel), this), 0, 0);
    statics->addWidget(fileName_, 0, 1);
    statics->addWidget(new QLabel(LangText(language_, tid::kTuningRadioInfoLabel), this), 1, 0);
    statics->addWidget(information_, 1, 1);
    statics->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(grid_, 1);
    left->addLayout(statics);
    left->addWidget(progress_);
    return left;
}

void TuningDataDialog::SizeGrid() {
    // Every row and both columns in view without scrolling.
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->horizontalHeader()->setStretchLastSection(false);
    grid_->resizeColumnToContents(0);
    const QFontMetrics metrics(grid_->font());
    grid_->setColumnWidth(1, std::max(grid_->horizontalHeader()->sectionSizeHint(1),
                                      metrics.horizontalAdvance(QStringLiteral("00000")) + 16));
    grid_->resizeRowsToContents();
    const int frame = 2 * grid_->frameWidth();
    grid_->setMinimumWidth(grid_->columnWidth(0) + grid_->columnWidth(1) + frame);
    grid_->setMinimumHeight(grid_->verticalHeader()->length() + grid_->horizontalHeader()->sizeHint().height() +
                            frame);
}

void TuningDataDialog::Fill() {
    filling_ = true;
    for (const TuningRow& row : TuningRowTable()) {
        auto* label = new QTableWidgetItem(QString::fromStdString(TuningRowLabel(language_, row)));
        label->setFlags(label->flags() & ~Qt::ItemIsEditable);
        grid_->setItem(row.offset, 0, label);
        auto* value = new QTableWidgetItem;
        if (set_.held) {
            value->setData(Qt::EditRole, TuningShownValue(set_.values[static_cast<std::size_t>(row.offset)]));
        } else {
            value->setFlags(value->flags() & ~Qt::ItemIsEditable);
        }
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid_->setItem(row.offset, 1, value);
    }
    DescribeTableCells(*grid_, language_);
    filling_ = false;
    fileName_->setText(QString::fromStdString(name_));
    information_->setText(set_.held ? QString::fromStdString(TuningInformationText(set_.information)) : QString());
    // The window grows with a longer name or information, never shrinks.
    for (QLabel* l : {fileName_, information_}) l->setMinimumWidth(std::max(l->minimumWidth(), l->sizeHint().width()));
    if (layout()) layout()->activate();
    write_->setEnabled(set_.held && !running_);
}

void TuningDataDialog::OnCellChanged(int row, int column) {
    if (filling_ || column != 1 || row < 0 || row >= kTuningRows || !set_.held) return;
    const TuningRow& r = TuningRowTable()[static_cast<std::size_t>(row)];
    bool ok = false;
    const long long entered = grid_->item(row, 1)->data(Qt::EditRole).toLongLong(&ok);
    if (ok) set_.values[static_cast<std::size_t>(r.offset)] = TuningStoredValue(r, entered);
    filling_ = true;
    grid_->item(row, 1)->setData(Qt::EditRole, TuningShownValue(set_.values[static_cast<std::size_t>(r.offset)]));
    filling_ = false;
}

void TuningDataDialog::OnProgress(int done, int total, const std::string&) {
    progress_->setRange(0, total);
    progress_->setValue(done);
}

void TuningDataDialog::SetRunning(bool running) {
    running_ = running;
    for (QWidget* w : controls_) w->setEnabled(!running);
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowCloseButtonHint, !running);
    flags.setFlag(Qt::WindowSystemMenuHint, !running);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle()) window->setFlags(flags);
    if (!running) {
        setWindowTitle(WithoutMnemonic(LangText(language_, tid::kTuningWindowTitle)));
        write_->setEnabled(set_.held);
    }
}

void TuningDataDialog::reject() {
    if (running_) return;
    QDialog::reject();
}

void TuningDataDialog::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TuningDataDialog::OnRead() {
    if (running_) return;
    SetRunning(true);
    (void)transfer_.Run([this](const TransferContext& ctx) { (void)ReadTuning(ctx, set_); });
    SetRunning(false);
    Fill();
}

void TuningDataDialog::OnWrite() {
    if (running_ || !set_.held) return;
    SetRunning(true);
    (void)transfer_.Run([this](const TransferContext& ctx) { (void)WriteTuning(ctx, set_, {backupFolder_, 0}); });
    SetRunning(false);
    Fill();
}

void TuningDataDialog::OnRestore() {
    if (running_) return;
    SetRunning(true);
    (void)transfer_.Run([this](const TransferContext& ctx) { (void)RestoreTuning(ctx, set_, {backupFolder_, 0}); });
    SetRunning(false);
    Fill();
}

void TuningDataDialog::OnOpen() {
    if (running_) return;
    const std::string path = chooser_(false, Folder(), name_);
    if (path.empty() || !TuningFile::HasTuningExtension(path)) return;  // cancelled, or not a tuning file name
    std::string folder, name;
    SplitPath(path, folder, name);
    TuningFile file;
    const TuningFileResult r = file.Load(path);
    if (!r.Ok()) {
        Message m = TransferErrorMessage(language_, TuningFileMessageId(r));
        m.text = TuningFileMessage(language_, r, name);
        (void)prompter_.Ask(m);
        if (r.systemError != 0) name_.clear();
        Fill();
        return;
    }
    (void)file.GetValues(set_.values);
    set_.information = file.Text();
    set_.held = true;
    name_ = name;
    LastName() = name;
    if (!folder.empty()) Folder() = folder;
    Fill();
}

void TuningDataDialog::WriteFile(const std::string& path) {
    std::string folder, name;
    SplitPath(path, folder, name);
    TuningFile file;
    if (set_.held) file.SetValues(set_.values);
    file.SetText(set_.information);
    const TuningFileResult r = file.Write(path);
    if (!r.Ok()) {
        Message m = TransferErrorMessage(language_, TuningFileMessageId(r));
        m.text = TuningFileMessage(language_, r, name);
        (void)prompter_.Ask(m);
        return;
    }
    name_ = name;
    LastName() = name;
    if (!folder.empty()) Folder() = folder;
    Fill();
}

void TuningDataDialog::OnSave() {
    if (running_) return;
    if (name_.empty()) name_ = kTuningDefaultName;
    const std::string path = Folder() + name_;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        Message question = TransferQuestion(language_, tid::kMsgOverwriteQuestion);
        question.text = FormatText("%s\n\n%s : %s", {Text(tid::kMsgOverwriteQuestion),
                                                     Text(tid::kMsgOverwriteFileLabel), name_});
        if (prompter_.Ask(question) != Answer::Ok) return;
    }
    WriteFile(path);
}

void TuningDataDialog::OnSaveAs() {
    if (running_) return;
    const std::string chosen = chooser_(true, Folder(), name_.empty() ? kTuningDefaultName : name_);
    if (chosen.empty()) return;
    WriteFile(TuningFile::WithTuningExtension(chosen));
}

}  // namespace vrm
