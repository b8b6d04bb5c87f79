#include "gui/transfer/compare_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTableWidget>

#include "core/model/radio_image.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

CompareDialog::CompareDialog(const TransferDialogContext& context, std::string separator, QWidget* parent)
    : TransferDialog(context, parent), separator_(std::move(separator)) {
    setObjectName(QStringLiteral("CompareDialog"));
    BuildTransferArea(tid::kCompareTitle, tid::kCompareReading, tid::kButtonRead);
    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("verdict"));
    verdict_->setWordWrap(true);
    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(QStringLiteral("differences"));
    table_->setTabKeyNavigation(false);  // Tab goes on to the buttons; the arrow keys go from cell to cell
    table_->setHorizontalHeaderLabels({LangText(language_, tid::kCompareKey), LangText(language_, tid::kCompareItem),
                                       LangText(language_, tid::kCompareDocument),
                                       LangText(language_, tid::kCompareRadio)});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumSize(620, 260);
    table_->hide();
    layout()->addWidget(verdict_);
    layout()->addWidget(table_);
}

void CompareDialog::OnStart() {
    BeginRunning();
    if (!RunTransfer([this](const TransferContext& ctx) { result_ = RunReadTransfer(ctx, radio_); })) {
        EndRunning();
        return;
    }
    OnWindowText(language_.TextString(tid::kCompareTitle));
    EndRunning();
    // Nothing is left to cancel: the button closes the window, and has the
    // focus the greyed-out buttons lost (Enter closes, not reads again).
    CancelButton()->setText(LangText(language_, tid::kButtonClose));
    CancelButton()->setFocus();
    if (!result_.Ok()) return;
    comparison_ = CompareImages(image_.Live(), radio_, language_, separator_);
    ShowComparison();
}

void CompareDialog::ShowComparison() {
    const auto cell = [](const std::string& text) { return new QTableWidgetItem(QString::fromStdString(text)); };
    const std::size_t rows = comparison_.fields.size() + comparison_.otherBytes.size();
    if (rows == 0) {
        verdict_->setText(LangText(language_, tid::kCompareIdentical));
        table_->hide();
        return;
    }
    verdict_->setText(QString::fromStdString(
        FormatText(language_.TextString(tid::kCompareDifferences), {static_cast<long long>(rows)})));
    table_->setRowCount(static_cast<int>(rows));
    int row = 0;
    for (const FieldDifference& d : comparison_.fields) {
        table_->setItem(row, 0, cell(d.key));
        table_->setItem(row, 1, cell(d.label));
        table_->setItem(row, 2, cell(d.document));
        table_->setItem(row, 3, cell(d.radio));
        ++row;
    }
    for (std::size_t at : comparison_.otherBytes) {
        table_->setItem(row, 0, cell(FormatText("0x%03X", {static_cast<unsigned>(at)})));
        table_->setItem(row, 1, cell(language_.TextString(tid::kCompareOtherBytes)));
        table_->setItem(row, 2, cell(FormatText("%02X", {static_cast<unsigned>(image_.Live()[at])})));
        table_->setItem(row, 3, cell(FormatText("%02X", {static_cast<unsigned>(radio_[at])})));
        ++row;
    }
    table_->resizeColumnsToContents();
    table_->show();
    adjustSize();
}

}  // namespace vrm
