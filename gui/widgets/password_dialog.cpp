#include "gui/widgets/password_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

PasswordDialog::PasswordDialog(const LanguageTable& language, PasswordGate& gate, Prompter& prompter, QWidget* parent)
    : QDialog(parent), gate_(gate), prompter_(prompter) {
    setWindowTitle(WithoutMnemonic(LangText(language, tid::kPasswordTitle)));
    setObjectName(QStringLiteral("PasswordDialog"));

    auto* label = new QLabel(LangText(language, tid::kPasswordLabel), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("password"));
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setMaxLength(static_cast<int>(gate.MaxLength()));
    label->setBuddy(edit_);

    ok_ = new QPushButton(LangText(language, tid::kButtonOk), this);
    auto* cancel = new QPushButton(LangText(language, tid::kButtonCancel), this);
    help_ = new QPushButton(LangText(language, tid::kButtonHelp), this);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(ok_, &QPushButton::clicked, this, &PasswordDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, [this] {
        result_ = PasswordResult::Cancelled;
        reject();
    });
    connect(help_, &QPushButton::clicked, this, [this] {
        if (helpHandler_) helpHandler_();
    });
    // Enter in the field presses OK (the default button): the entry is
    // judged at once.
    edit_->setFocus();
}

void PasswordDialog::OnOk() {
    switch (gate_.Submit(edit_->text().toStdString())) {
        case PasswordGate::Verdict::Accepted:
            result_ = PasswordResult::Accepted;
            accept();
            return;
        case PasswordGate::Verdict::Refused:
            result_ = PasswordResult::Refused;
            reject();
            return;
        case PasswordGate::Verdict::TryAgain:
            prompter_.Ask(gate_.WrongEntryMessage());
            edit_->clear();
            edit_->setFocus();
            return;
    }
}

PasswordResult PasswordDialog::Run() {
    result_ = PasswordResult::Cancelled;
    exec();
    return result_;
}

}  // namespace vrm
