// File > Import Channels: what an import of a channel CSV will do, shown
// before anything changes. The summary names the file, the rows read and the
// rows taken; under it every report line (what the channel rules changed and
// what the radio does not keep). Apply puts the channels into the document,
// Cancel leaves it as it was.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vrm {

class LanguageTable;

class ChannelImportDialog final : public QDialog {
    Q_OBJECT
public:
    ChannelImportDialog(const LanguageTable& language, const std::string& summary, const std::vector<std::string>& lines,
                      std::function<void()> help, QWidget* parent);

    QLabel* Summary() const { return summary_; }
    QPlainTextEdit* Report() const { return report_; }
    QPushButton* ApplyButton() const { return apply_; }

private:
    QLabel* summary_ = nullptr;
    QLabel* intro_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QPushButton* apply_ = nullptr;
    std::function<void()> help_;
};

}  // namespace vrm
