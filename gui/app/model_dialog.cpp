#include "gui/app/model_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document/application.h"
#include "core/document/document.h"
#include "core/document/model_change.h"
#include "core/base/prompter.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

ModelDialog::ModelDialog(Application& app, Prompter& prompter, FileDialogs& fileDialogs, QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), fileDialogs_(fileDialogs) {
    setObjectName(QStringLiteral("ModelDialog"));
    const LanguageTable& language = app.Language();
    rules_ = std::make_unique<ModelChange>(app.Catalogue(), QLocale::system().decimalPoint().toStdString());
    setWindowTitle(WithoutMnemonic(LangText(language, tid::kModelDialogTitle)));

    models_ = new QComboBox(this);
    models_->setObjectName(QStringLiteral("ModelList"));
    bands_ = new QComboBox(this);
    bands_->setObjectName(QStringLiteral("BandList"));
    models_->setMinimumContentsLength(24);
    bands_->setMinimumContentsLength(24);
    for (const ListEntry& e : rules_->Models()) models_->addItem(QString::fromStdString(e.text), e.data);
    const int current = rules_->CurrentModelEntry();
    models_->setCurrentIndex(current >= 0 ? current : 0);
    const int model = models_->currentData().toInt();
    FillBands(model, rules_->CurrentBandEntry(model));
    connect(models_, &QComboBox::currentIndexChanged, this, &ModelDialog::OnModelSelected);

    auto* form = new QFormLayout;
    form->addRow(LangText(language, tid::kModelDialogModelLabel), models_);
    form->addRow(LangText(language, tid::kModelDialogBandLabel), bands_);

    // Options that no model of this family has: shown, never enabled.
    auto* options = new QGridLayout;
    const tid::TextId optionTexts[] = {tid::kModelSignalingType, tid::kModelEnhancedFeature, tid::kModelStationary,
                                       tid::kModelMotion};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(LangText(language, optionTexts[i]), this);
        box->setEnabled(false);
        options->addWidget(box, i / 2, i % 2);
    }

    ok_ = new QPushButton(LangText(language, tid::kButtonOk), this);
    auto* cancel = new QPushButton(LangText(language, tid::kButtonCancel), this);
    auto* help = new QPushButton(LangText(language, tid::kButtonHelp), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &ModelDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (helpHandler_) helpHandler_();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

ModelDialog::~ModelDialog() = default;

void ModelDialog::FillBands(int model, int select) {
    bands_->clear();
    for (const ListEntry& e : rules_->Bands(model)) bands_->addItem(QString::fromStdString(e.text), e.data);
    if (bands_->count() > 0) bands_->setCurrentIndex(select >= 0 && select < bands_->count() ? select : 0);
}

void ModelDialog::OnModelSelected(int index) {
    (void)index;
    const auto previous = static_cast<std::uint16_t>(bands_->currentData().toInt());
    const int model = models_->currentData().toInt();
    FillBands(model, rules_->BandEntryAfterModelChange(model, previous));
}

void ModelDialog::OnOk() {
    if (models_->currentIndex() < 0 || bands_->currentIndex() < 0) return;
    const int model = models_->currentData().toInt();
    const auto word = static_cast<std::uint16_t>(bands_->currentData().toInt());
    const ModelChange::Plan plan = rules_->Evaluate(model, word);
    if (plan.question != 0) {
        Message m;
        m.kind = MessageKind::Warning;
        m.buttons = Buttons::OkCancel;
        m.defaultAnswer = Answer::Cancel;
        m.caption = app_.Text(tid::kCaptionWarning);
        m.text = app_.Text(plan.question);
        m.textId = static_cast<int>(plan.question);
        if (prompter_.Ask(m) != Answer::Ok) return;  // the dialog stays open
    }
    // A change that resets or rebuilds data replaces what the user edited:
    // the unsaved-changes question comes first, and Cancel (or a save that
    // did not happen) leaves everything as it was, the dialog open.
    if ((plan.dataReset || plan.bandsChanged) && !app_.Document().SaveModified(prompter_, fileDialogs_)) return;
    changed_ = app_.Document().ChangeModel(*rules_, plan, model, word);
    accept();
}

}  // namespace vrm
