// Program > Compare with Radio: reads the radio (with the read dialog's
// progress area) and lists, item by item with the editors' keys, labels and
// texts, where the radio differs from the document; "identical" when it
// does not. The document is never changed.
#pragma once

#include "core/exchange/image_compare.h"
#include "gui/transfer/read_dialog.h"

class QTableWidget;

namespace vrm {

class CompareDialog final : public TransferDialog {
    Q_OBJECT
public:
    // `separator` is the user's decimal separator for the texts.
    CompareDialog(const TransferDialogContext& context, std::string separator, QWidget* parent);

    const TransferResult& Result() const { return result_; }
    const ImageComparison& Comparison() const { return comparison_; }
    QTableWidget* Table() const { return table_; }
    QLabel* Verdict() const { return verdict_; }

protected:
    void OnStart() override;

private:
    void ShowComparison();

    std::string separator_;
    TransferResult result_;
    ImageComparison comparison_;
    ImageBuffer radio_{};
    QLabel* verdict_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace vrm
