#include "gui/transfer/radio_info_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/link/programming_port.h"
#include "core/exchange/print_language.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm {

namespace {

bool g_f2Held = false;
FunctionKeyWatch* g_watch = nullptr;

}  // namespace

void FunctionKeyWatch::Install() {
    if (g_watch || !qApp) return;
    g_watch = new FunctionKeyWatch(qApp);
    qApp->installEventFilter(g_watch);
}

bool FunctionKeyWatch::F2Held() { return g_f2Held; }

bool FunctionKeyWatch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F2) g_f2Held = true;
            break;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F2 && !key->isAutoRepeat()) g_f2Held = false;
            break;
        }
        case QEvent::ApplicationDeactivate:
            // The release may go to another program's window.
            g_f2Held = false;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

bool IdentityViewKeysHeld() {
    return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) && FunctionKeyWatch::F2Held();
}

RadioInfoDialog::RadioInfoDialog(const TransferDialogContext& context, bool identityView, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      language_(context.language),
      prompter_(context.prompter),
      transfer_(context.transfers, context.prompter, context.language, *this, this),
      identityView_(identityView) {
    setObjectName(QStringLiteral("RadioInfoDialog"));
    setWindowTitle(WithoutMnemonic(LangText(language_, tid::kRadioInfoTitle)));

    QGridLayout* grid = BuildValues();
    // The Option Settings row is never shown; the buttons sit right below
    // the checksum.
    optionLabel_ = new QLabel(LangText(language_, tid::kRadioInfoOptionSettings), this);
    optionLabel_->setObjectName(QStringLiteral("optionSettingsLabel"));
    optionGrid_ = new QTableWidget(this);
    optionGrid_->setObjectName(QStringLiteral("optionSettings"));
    optionGrid_->setTabKeyNavigation(false);  // Tab goes on to the buttons; the arrow keys go from cell to cell
    optionLabel_->hide();
    optionGrid_->hide();

    close_ = new QPushButton(LangText(language_, tid::kButtonClose), this);
    close_->setObjectName(QStringLiteral("close"));
    help_ = new QPushButton(LangText(language_, tid::kButtonHelp), this);
    help_->setObjectName(QStringLiteral("help"));
    print_ = new QPushButton(LangText(language_, tid::kButtonPrint), this);
    print_->setObjectName(QStringLiteral("print"));
    // Enabled once there are values to print.
    print_->setEnabled(false);
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &RadioInfoDialog::accept);
    connect(help_, &QPushButton::clicked, this, [this] {
        if (helpHandler_) helpHandler_();
    });
    connect(print_, &QPushButton::clicked, this, [this] {
        if (printHandler_) printHandler_();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    buttons->addWidget(print_);
    buttons->addWidget(help_);
    setTabOrder(close_, print_);  // Tab goes along the buttons as they stand
    setTabOrder(print_, help_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(optionLabel_);
    layout->addWidget(optionGrid_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QGridLayout* RadioInfoDialog::BuildValues() {
    static constexpr tid::TextId kLabels[6] = {tid::kRadioInfoModelType,      tid::kRadioInfoFrequency,
                                               tid::kRadioInfoSerialNumber,   tid::kRadioInfoFirmwareVersion,
                                               tid::kRadioInfoBootVersion,    tid::kRadioInfoChecksum};
    static const char* const kNames[6] = {"modelType", "frequency", "serialNumber",
                                          "firmwareVersion", "bootVersion", "checksum"};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    // The values keep their leading blanks: a fixed-pitch font shows them as
    // the radio's texts are laid out.
    const QFont valueFont = UiFonts::FromSettings(language_.Settings()).fixedPitch;
    const int valueWidth = QFontMetrics(valueFont).horizontalAdvance(QString(36, QLatin1Char('0')));
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(LangText(language_, kLabels[i]), this);
        auto* value = new QLabel(this);
        value->setObjectName(QLatin1String(kNames[i]));
        value->setTextFormat(Qt::PlainText);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setFont(valueFont);
        value->setMinimumWidth(valueWidth);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setBuddy(value);
        grid->addWidget(label, i, 0);
        grid->addWidget(value, i, 1);
        values_[i] = value;
    }
    return grid;
}

void RadioInfoDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (queued_) return;
    queued_ = true;
    // The transfer runs once the dialog is on the screen, so that its
    // messages have the dialog to sit on.
    QMetaObject::invokeMethod(this, &RadioInfoDialog::RunTransfer, Qt::QueuedConnection);
}

void RadioInfoDialog::RunTransfer() {
    if (running_ || transferred_) return;
    queued_ = true;
    running_ = true;
    setWindowTitle(WithoutMnemonic(LangText(language_, tid::kRadioInfoReading)));
    close_->setEnabled(false);
    help_->setEnabled(false);
    if (!transfer_.Run([this](const TransferContext& ctx) { result_ = RunRadioInformationTransfer(ctx, record_); }))
        result_.status = TransferStatus::kNoAnswer;  // another transfer runs: nothing was read
    ShowValues();
    setWindowTitle(WithoutMnemonic(LangText(language_, tid::kRadioInfoTitle)));
    close_->setEnabled(true);
    help_->setEnabled(true);
    print_->setEnabled(result_.Ok() && printHandler_ != nullptr);
    close_->setFocus();
    running_ = false;
    transferred_ = true;
}

void RadioInfoDialog::ShowValues() {
    const std::string separator = QLocale::system().decimalPoint().toStdString();
    const RadioInformationTexts t = RadioInformationDisplay(record_, identityView_, separator);
    const std::string* texts[6] = {&t.modelType, &t.frequency, &t.serialNumber,
                                   &t.firmwareVersion, &t.bootVersion, &t.checksum};
    for (int i = 0; i < 6; ++i) values_[i]->setText(QString::fromStdString(*texts[i]));
}

print::Document RadioInfoDialog::PrintOut(const std::string& printedAt) const {
    static constexpr tid::TextId kLabels[6] = {tid::kRadioInfoModelType,    tid::kRadioInfoFrequency,
                                               tid::kRadioInfoSerialNumber, tid::kRadioInfoFirmwareVersion,
                                               tid::kRadioInfoBootVersion,  tid::kRadioInfoChecksum};
    print::Document doc;
    doc.title = "VRM-650T";
    doc.pageNumbers = language_.Text(tid::kPrintPageNumbers);
    doc.facts.push_back({language_.Text(tid::kPrintPrinted), printedAt});
    print::Table values;
    values.headings = {language_.Text(tid::kPrintSetting), language_.Text(tid::kPrintValue)};
    // The values as the dialog shows them, their numbers written as the
    // program's language writes them.
    const RadioInformationTexts t =
        RadioInformationDisplay(record_, identityView_, print::PrintDecimalSeparator(language_));
    const std::string* texts[6] = {&t.modelType, &t.frequency, &t.serialNumber,
                                   &t.firmwareVersion, &t.bootVersion, &t.checksum};
    for (int i = 0; i < 6; ++i) {
        QString label = WithoutMnemonic(LangText(language_, kLabels[i])).trimmed();
        if (label.endsWith(QLatin1Char(':'))) label.chop(1);
        values.AddRow({label.toStdString(), QString::fromStdString(*texts[i]).trimmed().toStdString()});
    }
    doc.sections.push_back({WithoutMnemonic(LangText(language_, tid::kRadioInfoTitle)).toStdString(), {values}});
    return doc;
}

void RadioInfoDialog::reject() {
    if (running_) return;
    QDialog::reject();
}

void RadioInfoDialog::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace vrm
