// Program > Programming Station: one row per plugged-in cable (cable, model,
// serial number, phase, progress, result, count), Start and Stop, the plan
// file and Continuous. It writes the open document's data into the radios on
// every cable at once with the safe write, on worker threads; the rows take
// their updates through queued calls.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "core/link/station.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vrm {

class LanguageTable;
class Prompter;

struct StationDialogContext {
    const LanguageTable& language;
    Prompter& prompter;         // the plan's messages, a protected plan file's password
    ImageBuffer image{};        // the open document's data
    SafeWriteOptions options;   // the safe write's settings; dataFile names the document's file
    bool scrambling = true;
};

class StationDialog final : public QDialog {
    Q_OBJECT
public:
    StationDialog(StationDialogContext context, QWidget* parent);
    ~StationDialog() override;

    QTableWidget* Table() const { return table_; }
    QLineEdit* PlanEdit() const { return plan_; }
    QCheckBox* ContinuousBox() const { return continuous_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    bool Running() const { return station_ != nullptr; }
    // Lists the cables again (Start does it too).
    void Refresh();
    // Waits for a running station to end (tests).
    void WaitUntilDone();

protected:
    void reject() override;

private:
    void BuildTable();
    void Start();
    void Finished();
    void ShowStatus(std::size_t row, const CableStatus& status);
    bool LoadPlan(StationPlan& plan);

    StationDialogContext ctx_;
    std::vector<StationCable> cables_;
    std::vector<std::pair<int, int>> counts_;  // each row's radios written and failed
    QTableWidget* table_ = nullptr;
    QLineEdit* plan_ = nullptr;
    QCheckBox* planDefault_ = nullptr;
    QCheckBox* continuous_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* total_ = nullptr;
    std::unique_ptr<StationPlan> planData_;
    std::unique_ptr<StationObserver> observer_;
    std::unique_ptr<Station> station_;
    std::thread worker_;
};

}  // namespace vrm
