#include "gui/app/language_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

LanguageDialog::LanguageDialog(const LanguageTable& language, std::vector<InstalledLanguage> installed,
                           const std::string& currentFile, QWidget* parent)
    : QDialog(parent), installed_(std::move(installed)) {
    setObjectName(QStringLiteral("LanguageDialog"));
    setWindowTitle(WithoutMnemonic(LangText(language, tid::kLanguageDialogTitle)));

    auto* label = new QLabel(LangText(language, tid::kLanguageDialogLabel), this);
    list_ = new QListWidget(this);
    label->setBuddy(list_);
    list_->setAccessibleName(WithoutMnemonic(label->text()));  // a list takes no name from its label
    for (std::size_t i = 0; i < installed_.size(); ++i) {
        list_->addItem(QString::fromStdString(installed_[i].displayName));
        if (installed_[i].fileName == currentFile) preselected_ = static_cast<int>(i);
    }
    if (preselected_ >= 0) list_->setCurrentRow(preselected_);

    auto* ok = new QPushButton(LangText(language, tid::kButtonOk), this);
    auto* cancel = new QPushButton(LangText(language, tid::kButtonCancel), this);
    auto* help = new QPushButton(LangText(language, tid::kButtonHelp), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (helpHandler_) helpHandler_();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    // The buttons in a row below the list, as in the other dialogs: Tab goes
    // from the list down to them in the order they stand.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    list_->setMinimumSize(220, 140);
    list_->setFocus();
}

std::string LanguageDialog::ChosenFile() const {
    const int row = list_->currentRow();
    if (result() != QDialog::Accepted || row < 0 || row == preselected_) return {};
    return installed_[static_cast<std::size_t>(row)].fileName;
}

}  // namespace vrm
