#include "gui/app/channel_csv_dialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

ChannelImportDialog::ChannelImportDialog(const LanguageTable& language, const std::string& summary,
                                     const std::vector<std::string>& lines, std::function<void()> help,
                                     QWidget* parent)
    : QDialog(parent), help_(std::move(help)) {
    setObjectName(QStringLiteral("ChannelImportDialog"));
    setWindowTitle(LangText(language, tid::kCsvImportTitle));
    auto* layout = new QVBoxLayout(this);

    summary_ = new QLabel(QString::fromStdString(summary), this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    intro_ = new QLabel(this);
    intro_->setObjectName(QStringLiteral("intro"));
    intro_->setWordWrap(true);
    intro_->setText(lines.empty() ? LangText(language, tid::kCsvImportClean)
                                  : QString::fromStdString(FormatText(language.TextString(tid::kCsvImportNotes),
                                                                      {static_cast<int>(lines.size())})));
    layout->addWidget(intro_);

    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("report"));
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QStringList text;
    for (const std::string& line : lines) text << QString::fromStdString(line);
    report_->setPlainText(text.join(QLatin1Char('\n')));
    report_->setMinimumSize(760, 240);
    report_->setVisible(!lines.empty());
    layout->addWidget(report_, 1);

    apply_ = new QPushButton(LangText(language, tid::kCsvApply), this);
    apply_->setObjectName(QStringLiteral("apply"));
    apply_->setDefault(true);
    auto* cancel = new QPushButton(LangText(language, tid::kButtonCancel), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* helpButton = new QPushButton(LangText(language, tid::kButtonHelp), this);
    helpButton->setObjectName(QStringLiteral("help"));
    connect(apply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (help_) help_();
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(apply_);
    row->addWidget(cancel);
    row->addWidget(helpButton);
    layout->addLayout(row);
}

}  // namespace vrm
