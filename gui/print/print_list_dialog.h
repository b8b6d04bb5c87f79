// "Print Out List": a check box for each list the model has, in print
// order; OK needs at least one list checked.
#pragma once

#include <QDialog>
#include <vector>

#include "core/exchange/configuration_print.h"

class QCheckBox;

namespace vrm {

class LanguageTable;

class PrintListDialog final : public QDialog {
    Q_OBJECT
public:
    // `offered`: the lists of the model; `checked`: those to check at first.
    PrintListDialog(const LanguageTable& language, const std::vector<print::PrintList>& offered,
                  const std::vector<print::PrintList>& checked, QWidget* parent);

    std::vector<print::PrintList> Checked() const;
    QCheckBox* Box(print::PrintList list) const;

    void accept() override;

private:
    std::vector<std::pair<print::PrintList, QCheckBox*>> boxes_;
    QPushButton* ok_ = nullptr;
};

}  // namespace vrm
