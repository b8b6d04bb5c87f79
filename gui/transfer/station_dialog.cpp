#include "gui/transfer/station_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QApplication>
#include <QPainter>
#include <QStyleOptionProgressBar>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <csignal>

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/files/document.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

enum Column { kCable, kModel, kSerial, kPhase, kProgress, kResult, kCount, kColumns };
constexpr std::size_t kPlanReadLimit = 4 * 1024 * 1024;

// Hands each cable's status to the window's thread.
class QueuedObserver final : public StationObserver {
public:
    explicit QueuedObserver(std::function<void(std::size_t, CableStatus)> show) : show_(std::move(show)) {}
    void OnCable(std::size_t index, const CableStatus& status) override { show_(index, status); }

private:
    std::function<void(std::size_t, CableStatus)> show_;
};

// Draws the progress column's number (0-100, in the item's data) as a
// progress bar of the style.
class ProgressDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(2, 2, -2, -2);
        bar.minimum = 0;
        bar.maximum = 100;
        bar.progress = index.data(Qt::UserRole).toInt();
        bar.text = QStringLiteral("%1%").arg(bar.progress);
        bar.textVisible = true;
        bar.state = option.state | QStyle::State_Horizontal;
        QApplication::style()->drawControl(QStyle::CE_ProgressBar, &bar, painter);
    }
};

}  // namespace

StationDialog::StationDialog(StationDialogContext context, QWidget* parent)
    : QDialog(parent), ctx_(std::move(context)) {
    const LanguageTable& lang = ctx_.language;
    setObjectName(QStringLiteral("StationDialog"));
    setWindowTitle(LangText(lang, tid::kStationTitle));
    BuildTable();

    auto* planLabel = new QLabel(LangText(lang, tid::kStationPlan), this);
    plan_ = new QLineEdit(this);
    plan_->setObjectName(QStringLiteral("plan"));
    planLabel->setBuddy(plan_);
    auto* browse = new QPushButton(LangText(lang, tid::kStationBrowse), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), plan_->text(), QStringLiteral("*.csv"));
        if (!chosen.isEmpty()) plan_->setText(chosen);
    });
    planDefault_ = new QCheckBox(LangText(lang, tid::kStationPlanDefault), this);
    planDefault_->setObjectName(QStringLiteral("planDefault"));
    continuous_ = new QCheckBox(LangText(lang, tid::kStationContinuous), this);
    continuous_->setObjectName(QStringLiteral("continuous"));
    start_ = new QPushButton(LangText(lang, tid::kStationStart), this);
    start_->setObjectName(QStringLiteral("start"));
    start_->setDefault(true);
    stop_ = new QPushButton(LangText(lang, tid::kStationStop), this);
    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setEnabled(false);
    close_ = new QPushButton(LangText(lang, tid::kStationClose), this);
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("total"));
    connect(start_, &QPushButton::clicked, this, &StationDialog::Start);
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (station_) station_->Stop(SIGINT);
    });
    connect(close_, &QPushButton::clicked, this, &StationDialog::reject);

    auto* planRow = new QHBoxLayout;
    planRow->addWidget(planLabel);
    planRow->addWidget(plan_, 1);
    planRow->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(total_, 1);
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(planRow);
    layout->addWidget(planDefault_);
    layout->addWidget(continuous_);
    layout->addLayout(buttons);
    resize(1200, 420);
    Refresh();
}

// One row per cable; the progress column drawn as a bar.
void StationDialog::BuildTable() {
    const LanguageTable& lang = ctx_.language;
    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName(QStringLiteral("cables"));
    table_->setTabKeyNavigation(false);  // Tab goes on to the buttons (an empty table kept it); arrows go from cell to cell
    QStringList headings;
    for (const tid::TextId id : {tid::kStationColCable, tid::kStationColModel, tid::kStationColSerial,
                                 tid::kStationColPhase, tid::kStationColProgress, tid::kStationColResult,
                                 tid::kStationColCount})
        headings << LangText(lang, id);
    table_->setHorizontalHeaderLabels(headings);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Every column as wide as its texts, the result taking the room left.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kResult, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kProgress, QHeaderView::Fixed);
    table_->horizontalHeader()->resizeSection(kProgress, 120);
    table_->setItemDelegateForColumn(kProgress, new ProgressDelegate(table_));
    table_->setAccessibleName(LangText(lang, tid::kStationTitle));
}

StationDialog::~StationDialog() {
    if (station_) station_->Stop(SIGINT);
    if (worker_.joinable()) worker_.join();
}

void StationDialog::Refresh() {
    if (station_) return;
    cables_ = ListStationCables().value_or(std::vector<StationCable>{});
    table_->setRowCount(static_cast<int>(cables_.size()));
    counts_.assign(cables_.size(), {0, 0});
    for (std::size_t i = 0; i < cables_.size(); ++i) {
        CableStatus status;
        status.cable = cables_[i];
        const int row = static_cast<int>(i);
        for (int c = 0; c < kColumns; ++c) table_->setItem(row, c, new QTableWidgetItem);
        ShowStatus(i, status);
    }
    // Each cell says its cable and column to a screen reader.
    DescribeTableCells(*table_, ctx_.language);
    total_->setText(cables_.empty() ? LangText(ctx_.language, tid::kStationNoCables) : QString());
    start_->setEnabled(!cables_.empty());
}

void StationDialog::ShowStatus(std::size_t index, const CableStatus& s) {
    const int row = static_cast<int>(index);
    if (row >= table_->rowCount()) return;
    const QString cable = QString::fromStdString(s.cable.portPath) +
                          (s.cable.serial.empty() ? QString() : QStringLiteral("  (") + QString::fromStdString(s.cable.serial) + ')');
    table_->item(row, kCable)->setText(cable);
    table_->item(row, kModel)->setText(QString::fromStdString(s.model));
    table_->item(row, kSerial)->setText(QString::fromStdString(s.radioSerial));
    table_->item(row, kPhase)->setText(QString::fromStdString(StationPhaseText(ctx_.language, s.phase)));
    table_->item(row, kResult)->setText(QString::fromStdString(s.result));
    table_->item(row, kResult)->setToolTip(QString::fromStdString(s.result));
    table_->item(row, kCount)->setText(QStringLiteral("%1 / %2").arg(s.written).arg(s.failed));
    int percent = 0;
    const bool running = s.Percent(percent);
    const int value = running ? percent : (s.phase == StationPhase::kDone ? 100 : 0);
    table_->item(row, kProgress)->setData(Qt::UserRole, value);
    // What a screen reader reads for the cell.
    table_->item(row, kProgress)->setData(Qt::AccessibleTextRole, QStringLiteral("%1%").arg(value));
    // While the cables run (with Continuous, for as long as radios come), the
    // line under the table counts every cable's radios so far.
    if (index < counts_.size()) counts_[index] = {s.written, s.failed};
    int written = 0, failed = 0;
    for (const auto& [w, f] : counts_) {
        written += w;
        failed += f;
    }
    if (station_ && written + failed > 0)
        total_->setText(QString::fromStdString(FormatText(ctx_.language.TextString(tid::kStationTotal), {written, failed})));
}

bool StationDialog::LoadPlan(StationPlan& plan) {
    const std::string path = plan_->text().trimmed().toStdString();
    std::string text;
    if (!ReadRegularFile(path, kPlanReadLimit, text).Ok()) {
        Message m;
        m.kind = MessageKind::Error;
        m.caption = ctx_.language.TextString(tid::kStationTitle);
        m.text = FormatText(ctx_.language.TextString(tid::kPlanCannotRead), {path, std::string()});
        ctx_.prompter.Ask(m);
        return false;
    }
    Document base(ctx_.language);
    base.Hold(ctx_.image);
    const PlanFileOpener open = [this](const std::string& file, Document& doc) {
        return doc.Open(file, ctx_.prompter).Ok();
    };
    PlanResult result = BuildStationPlan(text, path, base, ctx_.language, open);
    if (!result.Ok()) {
        std::string why;
        for (const PlanProblem& p : result.problems) why += PlanProblemText(ctx_.language, p) + "\n";
        Message m;
        m.kind = MessageKind::Error;
        m.caption = ctx_.language.TextString(tid::kStationTitle);
        m.text = why + "\n" + ctx_.language.TextString(tid::kPlanHasErrors);
        ctx_.prompter.Ask(m);
        return false;
    }
    plan = std::move(result.plan);
    return true;
}

void StationDialog::Start() {
    if (station_) return;
    Refresh();
    if (cables_.empty()) return;
    StationJob job;
    job.image = ctx_.image;
    job.options = ctx_.options;
    job.continuous = continuous_->isChecked();
    job.scrambling = ctx_.scrambling;
    job.planDefault = planDefault_->isChecked();
    if (!plan_->text().trimmed().isEmpty()) {
        auto loaded = std::make_unique<StationPlan>();
        if (!LoadPlan(*loaded)) return;
        planData_ = std::move(loaded);
        job.plan = planData_.get();
    }
    QPointer<StationDialog> self(this);
    observer_ = std::make_unique<QueuedObserver>([self](std::size_t index, CableStatus status) {
        QMetaObject::invokeMethod(
            self.data(), [self, index, status] { if (self) self->ShowStatus(index, status); }, Qt::QueuedConnection);
    });
    station_ = std::make_unique<Station>(ctx_.language, std::move(job), cables_, *observer_);
    for (QWidget* w : std::initializer_list<QWidget*>{start_, close_, plan_, planDefault_, continuous_}) w->setEnabled(false);
    stop_->setEnabled(true);
    stop_->setFocus();
    total_->clear();
    Station* station = station_.get();
    worker_ = std::thread([self, station] {
        station->Run();
        QMetaObject::invokeMethod(
            self.data(), [self] { if (self) self->Finished(); }, Qt::QueuedConnection);
    });
}

void StationDialog::Finished() {
    if (worker_.joinable()) worker_.join();
    if (!station_) return;
    const std::vector<CableStatus> statuses = station_->Statuses();
    for (std::size_t i = 0; i < statuses.size(); ++i) ShowStatus(i, statuses[i]);
    total_->setText(QString::fromStdString(
        FormatText(ctx_.language.TextString(tid::kStationTotal), {station_->Written(), station_->Failed()})));
    station_.reset();
    for (QWidget* w : std::initializer_list<QWidget*>{start_, close_, plan_, planDefault_, continuous_}) w->setEnabled(true);
    stop_->setEnabled(false);
    start_->setFocus();
}

void StationDialog::WaitUntilDone() {
    if (worker_.joinable()) worker_.join();
    QCoreApplication::processEvents();
    Finished();
}

void StationDialog::reject() {
    // While the cables run the window stays: Stop ends them first.
    if (station_) return;
    QDialog::reject();
}

}  // namespace vrm
