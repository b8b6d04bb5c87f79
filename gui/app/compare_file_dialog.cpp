#include "gui/app/compare_file_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

QTableWidgetItem* Cell(const std::string& text) { return new QTableWidgetItem(QString::fromStdString(text)); }

}  // namespace

CompareFileDialog::CompareFileDialog(const LanguageTable& language, const FileComparison& comparison,
                                 const ImageBuffer& document, const ImageBuffer& file, const std::string& path,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CompareFileDialog"));
    setWindowTitle(LangText(language, tid::kCompareFileTitle));
    auto* name = new QLabel(QString::fromStdString(FormatText(language.TextString(tid::kCompareFileName), {path})), this);
    name->setObjectName(QStringLiteral("file"));
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    models_ = new QLabel(this);
    models_->setObjectName(QStringLiteral("models"));
    models_->setWordWrap(true);
    models_->setVisible(!comparison.SameModel());
    if (!comparison.SameModel())
        models_->setText(QString::fromStdString(FormatText(language.TextString(tid::kCompareFileModels),
                                                           {comparison.secondModel, comparison.firstModel})));
    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("verdict"));
    verdict_->setWordWrap(true);

    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(QStringLiteral("differences"));
    table_->setHorizontalHeaderLabels({LangText(language, tid::kCompareSection), LangText(language, tid::kCompareField),
                                       LangText(language, tid::kCompareThisDocument),
                                       LangText(language, tid::kCompareTheFile)});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumSize(640, 280);
    // Named for screen readers; Tab leaves it (the arrow keys go from cell
    // to cell), as in the editors' grids.
    table_->setAccessibleName(windowTitle());
    table_->setTabKeyNavigation(false);

    ShowDifferences(language, comparison, document, file);

    auto* close = new QPushButton(LangText(language, tid::kButtonClose), this);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    close->setFocus();
    auto* help = new QPushButton(LangText(language, tid::kButtonHelp), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this, [this] {
        if (help_) help_();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(models_);
    layout->addWidget(verdict_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
}

void CompareFileDialog::ShowDifferences(const LanguageTable& language, const FileComparison& comparison,
                                        const ImageBuffer& document, const ImageBuffer& file) {
    const ImageComparison& items = comparison.items;
    const std::size_t rows = items.fields.size() + items.otherBytes.size();
    if (comparison.Identical()) {
        verdict_->setText(LangText(language, tid::kCompareFileIdentical));
        table_->hide();
    } else {
        verdict_->setText(QString::fromStdString(
            FormatText(language.TextString(tid::kCompareFileDifferences), {static_cast<long long>(rows)})));
        table_->setRowCount(static_cast<int>(rows));
        int row = 0;
        for (const FieldDifference& d : items.fields) {
            table_->setItem(row, 0, Cell(d.Place()));
            table_->setItem(row, 1, Cell(d.label));
            table_->item(row, 1)->setToolTip(QString::fromStdString(d.key));
            table_->setItem(row, 2, Cell(d.document));
            table_->setItem(row, 3, Cell(d.radio));
            ++row;
        }
        // Bytes no item shows (listed only when no item differs).
        for (std::size_t at : items.otherBytes) {
            table_->setItem(row, 0, Cell(language.TextString(tid::kCompareOtherBytes)));
            table_->setItem(row, 1, Cell(FormatText("0x%03X", {static_cast<unsigned>(at)})));
            table_->setItem(row, 2, Cell(FormatText("%02X", {static_cast<unsigned>(document[at])})));
            table_->setItem(row, 3, Cell(FormatText("%02X", {static_cast<unsigned>(file[at])})));
            ++row;
        }
        table_->resizeColumnsToContents();
        DescribeTableCells(*table_, language);
    }
}

}  // namespace vrm
