#include "gui/transfer/safety_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/document/app_settings.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

// OK, Cancel and Help in a row at the foot of a dialog.
QHBoxLayout* Buttons(QDialog* dialog, const LanguageTable& language, const std::function<void()>& help) {
    auto* ok = new QPushButton(LangText(language, tid::kButtonOk), dialog);
    auto* cancel = new QPushButton(LangText(language, tid::kButtonCancel), dialog);
    auto* helpButton = new QPushButton(LangText(language, tid::kButtonHelp), dialog);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(helpButton, &QPushButton::clicked, dialog, [&help] {
        if (help) help();
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(helpButton);
    return row;
}

}  // namespace

ProgrammingOptionsDialog::ProgrammingOptionsDialog(const LanguageTable& language, const ProgrammingOptions& options,
                                               const QString& defaultFolder, const std::vector<StationCable>& cables,
                                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ProgrammingOptionsDialog"));
    setWindowTitle(LangText(language, tid::kProgOptionsTitle));
    backup_ = new QCheckBox(LangText(language, tid::kProgOptionsBackup), this);
    auto* folderLabel = new QLabel(LangText(language, tid::kProgOptionsFolder), this);
    folder_ = new QLineEdit(QString::fromStdString(options.backupFolder), this);
    folder_->setPlaceholderText(defaultFolder);
    folder_->setMinimumWidth(360);
    folderLabel->setBuddy(folder_);
    browse_ = new QPushButton(LangText(language, tid::kProgOptionsBrowse), this);
    verify_ = new QCheckBox(LangText(language, tid::kProgOptionsVerify), this);
    log_ = new QCheckBox(LangText(language, tid::kProgOptionsLog), this);
    backup_->setChecked(options.backup);
    verify_->setChecked(options.verify);
    log_->setChecked(options.log);
    auto* cableLabel = new QLabel(LangText(language, tid::kSetupCable), this);
    cable_ = new QComboBox(this);
    cable_->setObjectName(QStringLiteral("cable"));
    cableLabel->setBuddy(cable_);
    cable_->addItem(LangText(language, tid::kSetupCableFirst), QString());
    for (const StationCable& c : cables) {
        const QString id = QString::fromStdString(c.portPath);
        cable_->addItem(c.serial.empty() ? id : id + QStringLiteral("  (") + QString::fromStdString(c.serial) + ')', id);
    }
    if (!options.cable.empty() && cable_->findData(QString::fromStdString(options.cable)) < 0)
        cable_->addItem(QString::fromStdString(options.cable), QString::fromStdString(options.cable));
    cable_->setCurrentIndex(std::max(0, cable_->findData(QString::fromStdString(options.cable))));

    const auto follow = [this](bool on) {
        folder_->setEnabled(on);
        browse_->setEnabled(on);
    };
    follow(options.backup);
    connect(backup_, &QCheckBox::toggled, this, follow);
    connect(browse_, &QPushButton::clicked, this, [this, defaultFolder] {
        const QString start = folder_->text().isEmpty() ? defaultFolder : folder_->text();
        const QString chosen = QFileDialog::getExistingDirectory(this, windowTitle(), start);
        if (!chosen.isEmpty()) folder_->setText(chosen);
    });

    auto* folderRow = new QHBoxLayout;
    folderRow->addSpacing(20);
    folderRow->addWidget(folderLabel);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(backup_);
    layout->addLayout(folderRow);
    layout->addWidget(verify_);
    layout->addWidget(log_);
    auto* cableRow = new QHBoxLayout;
    cableRow->addWidget(cableLabel);
    cableRow->addWidget(cable_, 1);
    layout->addLayout(cableRow);
    layout->addSpacing(8);
    layout->addLayout(Buttons(this, language, help_));
}

ProgrammingOptions ProgrammingOptionsDialog::Options() const {
    ProgrammingOptions o;
    o.backup = backup_->isChecked();
    o.backupFolder = folder_->text().trimmed().toStdString();
    o.verify = verify_->isChecked();
    o.log = log_->isChecked();
    o.cable = cable_->currentData().toString().toStdString();
    return o;
}

SecurityDialog::SecurityDialog(const LanguageTable& language, const SecuritySettings& security, QWidget* parent)
    : QDialog(parent), language_(language), original_(security) {
    setObjectName(QStringLiteral("SecurityDialog"));
    setWindowTitle(LangText(language, tid::kSecurityTitle));
    auto* label = new QLabel(LangText(language, tid::kSecurityPassword), this);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(6);
    password_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), password_));
    // Only a password of digits shows as set; the fixed default does not.
    if (IsSecurityPassword(security.password)) password_->setText(QString::fromStdString(security.password));
    label->setBuddy(password_);
    dataFile_ = new QCheckBox(LangText(language, tid::kSecurityDataFile), this);
    dataFile_->setChecked(security.dataFile);
    programExecution_ = new QCheckBox(LangText(language, tid::kSecurityProgramExecution), this);
    programExecution_->setChecked(security.programExecution);

    // What the password does, and what it does not.
    auto* note = new QLabel(LangText(language, tid::kSecurityNotEncryption), this);
    note->setObjectName(QStringLiteral("note"));
    note->setWordWrap(true);
    note->setMinimumWidth(420);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(password_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(dataFile_);
    layout->addWidget(programExecution_);
    layout->addSpacing(4);
    layout->addWidget(note);
    layout->addSpacing(8);
    layout->addLayout(Buttons(this, language, help_));
}

SecuritySettings SecurityDialog::Settings() const {
    SecuritySettings s = original_;
    const std::string entered = password_->text().toStdString();
    if (IsSecurityPassword(entered)) s.password = entered;
    s.dataFile = dataFile_->isChecked();
    s.programExecution = programExecution_->isChecked();
    return s;
}

void SecurityDialog::accept() {
    // Files protected with a password nobody can type would be lost: the
    // switch needs a password of 1 to 6 digits.
    const std::string entered = password_->text().toStdString();
    const bool untouched = entered.empty() && !dataFile_->isChecked();
    if (!untouched && !IsSecurityPassword(entered)) {
        QMessageBox::warning(this, windowTitle(), LangText(language_, tid::kSecurityDigits));
        password_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace vrm
