#include "gui/print/print_list_dialog.h"

#include <algorithm>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

PrintListDialog::PrintListDialog(const LanguageTable& language, const std::vector<print::PrintList>& offered,
                             const std::vector<print::PrintList>& checked, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("printList"));
    setWindowTitle(WithoutMnemonic(LangText(language, tid::kPrintListTitle)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(LangText(language, tid::kPrintListPrompt), this));
    for (const print::PrintList list : offered) {
        const print::PrintListInfo& info = print::InfoOf(list);
        auto* box = new QCheckBox(WithoutMnemonic(LangText(language, info.caption)), this);
        box->setObjectName(QString::fromLatin1(info.token));
        box->setChecked(std::find(checked.begin(), checked.end(), list) != checked.end());
        layout->addWidget(box);
        boxes_.push_back({list, box});
        connect(box, &QCheckBox::toggled, this, [this] { ok_->setEnabled(!Checked().empty()); });
    }
    auto* all = new QPushButton(LangText(language, tid::kPrintSelectAll), this);
    all->setObjectName(QStringLiteral("all"));
    auto* none = new QPushButton(LangText(language, tid::kPrintSelectNone), this);
    none->setObjectName(QStringLiteral("none"));
    auto* selectors = new QHBoxLayout;
    selectors->addWidget(all);
    selectors->addWidget(none);
    selectors->addStretch();
    layout->addLayout(selectors);
    connect(all, &QPushButton::clicked, this, [this] {
        for (auto& [list, box] : boxes_) box->setChecked(true);
    });
    connect(none, &QPushButton::clicked, this, [this] {
        for (auto& [list, box] : boxes_) box->setChecked(false);
    });
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(LangText(language, tid::kButtonOk), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setDefault(true);
    QPushButton* cancel = buttons->addButton(LangText(language, tid::kButtonCancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintListDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintListDialog::reject);
    layout->addWidget(buttons);
    ok_->setEnabled(!Checked().empty());
}

std::vector<print::PrintList> PrintListDialog::Checked() const {
    std::vector<print::PrintList> lists;
    for (const auto& [list, box] : boxes_)
        if (box->isChecked()) lists.push_back(list);
    return lists;
}

QCheckBox* PrintListDialog::Box(print::PrintList list) const {
    for (const auto& [l, box] : boxes_)
        if (l == list) return box;
    return nullptr;
}

void PrintListDialog::accept() {
    if (Checked().empty()) return;  // OK is greyed out then
    QDialog::accept();
}

}  // namespace vrm
