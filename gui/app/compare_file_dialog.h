// File > Compare With...: the items where a data file differs from the
// document, in a table of section, field, this document's text and the
// file's; "identical" when they do not differ. The document is never
// changed.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/exchange/image_compare.h"

class QLabel;
class QTableWidget;

namespace vrm {

class LanguageTable;

class CompareFileDialog final : public QDialog {
    Q_OBJECT
public:
    // `document` and `file` are the two images `comparison` was made of.
    CompareFileDialog(const LanguageTable& language, const FileComparison& comparison, const ImageBuffer& document,
                    const ImageBuffer& file, const std::string& path, QWidget* parent);
    void SetHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }

    QLabel* Verdict() const { return verdict_; }
    QLabel* Models() const { return models_; }
    QTableWidget* Table() const { return table_; }

private:
    // The verdict, and the differences in the table (hidden when none).
    void ShowDifferences(const LanguageTable& language, const FileComparison& comparison, const ImageBuffer& document,
                         const ImageBuffer& file);

    QLabel* verdict_ = nullptr;
    QLabel* models_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::function<void()> help_;
};

}  // namespace vrm
