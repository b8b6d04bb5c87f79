#include "gui/transfer/test_mode_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/link/tuning_transfer.h"
#include "core/model/code_tables.h"
#include "core/exchange/print_language.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"
#include "gui/transfer/transfer_thread.h"

namespace vrm {

namespace {

constexpr int kRefreshMs = 550;
constexpr int kSliderMin = 1;
constexpr int kSliderMax = 255;
constexpr std::uint32_t kTestModeHelp = 0x53000;

QLabel* Label(const LanguageTable& language, std::uint32_t id, QWidget* parent) {
    return new QLabel(LangText(language, id), parent);
}

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Runs one command of the session off the user-interface thread and gives
// its result; the user's input waits until the radio has answered, painting
// and timers do not. A command asked for while another one still runs (a
// refresh tick meanwhile) is not sent and gives false.
template <typename F>
auto OnWorker(F command) -> decltype(command()) {
    decltype(command()) result{};
    (void)RunOffUiThread([&] { result = command(); }, WhileRunning::kNoUserInput);
    return result;
}

}  // namespace

// ---------------------------------------------------------------------------
// Tuning adjustment

TuningAdjustDialog::TuningAdjustDialog(TestModeSession& session, const LanguageTable& language, int item,
                                   QWidget* parent)
    : QDialog(parent), session_(session), language_(language), item_(item) {
    setObjectName(QStringLiteral("TuningAdjustDialog"));
    const TuningItem& it = TuningItemTable()[static_cast<std::size_t>(item)];
    setWindowTitle(WithoutMnemonic(LangText(language_, tid::kAdjustTitle)) + QStringLiteral(" - ") +
                   LangText(language_, it.text));

    tabs_ = Named(new QTabBar(this), "tabs");
    for (int t = 0; t < it.tabs; ++t) tabs_->addTab(LangText(language_, it.tabTexts[static_cast<std::size_t>(t)]));
    slider_ = Named(new QSlider(Qt::Horizontal, this), "slider");
    slider_->setRange(kSliderMin, kSliderMax);
    slider_->setSingleStep(1);
    // Qt's horizontal slider already raises the value with Up and Page Up.
    slider_->setPageStep(TuningPageSize(kSliderMax - kSliderMin + 1));
    spin_ = Named(new QSpinBox(this), "spin");
    spin_->setRange(kSliderMin, kSliderMax);
    current_ = Named(new QLabel(this), "currentValue");
    applied_ = Named(new QLabel(this), "appliedValue");
    for (QLabel* l : {current_, applied_}) {
        l->setMinimumWidth(40);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
    }
    apply_ = Named(new QPushButton(LangText(language_, tid::kAdjustApply), this), "apply");
    tx_ = Named(new QPushButton(LangText(language_, tid::kAdjustTx), this), "tx");
    tx_->setCheckable(true);
    tx_->setChecked(session_.Transmitting());
    sine_ = Named(new QCheckBox(LangText(language_, tid::kAdjustSineWave), this), "sineWave");
    bandPass_ = Named(new QPushButton(LangText(language_, tid::kAdjustBandPass), this), "bandPass");
    bandPass_->setVisible(it.bandPassFilter);
    close_ = Named(new QPushButton(LangText(language_, tid::kButtonClose), this), "close");
    for (QPushButton* b : {apply_, bandPass_, close_}) b->setAutoDefault(false);
    tx_->setAutoDefault(true);  // Enter on the focused TX button switches the transmitter
    refresh_ = new QTimer(this);
    refresh_->setInterval(kRefreshMs);
    indicator_ = new TransmitIndicator(language_, this);
    LayOut();
    ConnectControls();
    SelectTab(0);
}

void TuningAdjustDialog::LayOut() {
    auto* values = new QGridLayout;
    values->addWidget(Label(language_, tid::kAdjustCurrentValue, this), 0, 0);
    values->addWidget(current_, 0, 1);
    values->addWidget(Label(language_, tid::kAdjustAppliedValue, this), 1, 0);
    values->addWidget(applied_, 1, 1);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(slider_, 1);
    sliderRow->addWidget(spin_);
    sliderRow->addWidget(apply_);
    auto* extras = new QHBoxLayout;
    extras->addWidget(tx_);
    extras->addWidget(sine_);
    extras->addWidget(bandPass_);
    extras->addStretch(1);
    extras->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(indicator_);
    layout->addWidget(tabs_);
    layout->addLayout(values);
    layout->addLayout(sliderRow);
    layout->addLayout(extras);
    slider_->setMinimumWidth(300);
}

void TuningAdjustDialog::ConnectControls() {
    connect(refresh_, &QTimer::timeout, this, &TuningAdjustDialog::OnRefresh);
    connect(tabs_, &QTabBar::currentChanged, this, &TuningAdjustDialog::SelectTab);
    connect(slider_, &QSlider::valueChanged, this, &TuningAdjustDialog::OnValue);
    connect(spin_, qOverload<int>(&QSpinBox::valueChanged), this, &TuningAdjustDialog::OnValue);
    connect(apply_, &QPushButton::clicked, this, [this] {
        const auto v = static_cast<std::uint8_t>(spin_->value());
        if (OnWorker([&] { return session_.PointApply(v); })) applied_->setText(QString::number(v));
        ShowTransmit();
    });
    connect(tx_, &QPushButton::toggled, this, [this](bool on) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SetTransmit(on); });
        ShowTransmit();
    });
    connect(sine_, &QCheckBox::toggled, this, [this](bool on) {
        if (syncing_) return;
        if (!OnWorker([&] { return session_.SineWave(on); })) {
            syncing_ = true;
            sine_->setChecked(!on);
            syncing_ = false;
        }
        ShowTransmit();
    });
    connect(bandPass_, &QPushButton::clicked, this, [this] {
        bandPass_->setEnabled(false);
        apply_->setEnabled(false);
        refresh_->stop();
        (void)OnWorker([&] { return session_.BandPass(); });
        if (session_.ActiveItem() >= 0) refresh_->start();
        bandPass_->setEnabled(true);
        apply_->setEnabled(true);
        ShowTransmit();
    });
    connect(close_, &QPushButton::clicked, this, &TuningAdjustDialog::reject);
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
    auto* previous2 = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, [this] { tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count()); });
    for (QShortcut* s : {previous, previous2})
        connect(s, &QShortcut::activated, this,
                [this] { tabs_->setCurrentIndex((tabs_->currentIndex() + tabs_->count() - 1) % tabs_->count()); });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] {
        if (helpHandler_)
            helpHandler_(static_cast<std::uint32_t>(TuningItemTable()[static_cast<std::size_t>(item_)].helpTopic));
    });
}

void TuningAdjustDialog::ShowCurrent(int value) { current_->setText(QString::number(value)); }

void TuningAdjustDialog::SelectTab(int tab) {
    refresh_->stop();
    std::uint8_t value = 0;
    // Switching the next point on switches the one before off.
    const bool on = OnWorker([&] { return session_.PointOn(item_, tab, value); });
    ShowTransmit();
    if (!on) {
        pointOff_ = session_.ActiveItem() < 0;
        return;
    }
    syncing_ = true;
    sent_ = std::max<int>(value, kSliderMin);
    slider_->setValue(sent_);
    spin_->setValue(sent_);
    syncing_ = false;
    ShowCurrent(value);
    applied_->clear();
    refresh_->start();
}

void TuningAdjustDialog::OnValue(int value) {
    if (syncing_) return;
    syncing_ = true;
    slider_->setValue(value);
    spin_->setValue(value);
    syncing_ = false;
    if (value == sent_) return;
    if (OnWorker([&] { return session_.PointStep(value - sent_); })) {
        sent_ = value;
    } else {
        syncing_ = true;
        slider_->setValue(sent_);
        spin_->setValue(sent_);
        syncing_ = false;
    }
    ShowTransmit();
}

void TuningAdjustDialog::ShowTransmit() {
    // A failed command switches the transmitter off: the button and the line
    // follow the session.
    indicator_->Show(session_);
    const bool was = syncing_;
    syncing_ = true;
    tx_->setChecked(session_.Transmitting());
    syncing_ = was;
}

void TuningAdjustDialog::OnRefresh() {
    if (StepsRunning()) return;  // a command is on its way: the next tick asks
    std::uint8_t value = 0;
    if (session_.ActiveItem() < 0) {
        refresh_->stop();
    } else if (OnWorker([&] { return session_.PointQuery(value); })) {
        ShowCurrent(value);
    } else {
        refresh_->stop();  // told once, not every 550 ms
    }
    ShowTransmit();
}

void TuningAdjustDialog::done(int result) {
    refresh_->stop();
    // The transmitter goes off with the dialog, then the point.
    if (session_.Transmitting()) (void)OnWorker([&] { return session_.SetTransmit(false); });
    if (session_.ActiveItem() >= 0) pointOff_ = OnWorker([&] { return session_.PointOff(); });
    QDialog::done(result);
}

// ---------------------------------------------------------------------------
// Test Mode

TestModeDialog::TestModeDialog(TestModeSession& session, const LanguageTable& language, QWidget* parent)
    : QDialog(parent), session_(session), language_(language) {
    setObjectName(QStringLiteral("TestModeDialog"));
    setWindowTitle(WithoutMnemonic(LangText(language_, tid::kTestModeTitle)));

    BuildControls();
    LayOut();
    ShowState();
    ConnectControls();
}

void TestModeDialog::BuildControls() {
    channel_ = Named(new QSpinBox(this), "channel");
    channel_->setRange(1, kTestChannels);
    channel_->setWrapping(true);
    signalling_ = Named(new QSpinBox(this), "signalling");
    signalling_->setRange(1, kSignallingCount);
    signalling_->setWrapping(true);
    rx_ = Named(new QLabel(this), "receiveFrequency");
    tx_ = Named(new QLabel(this), "transmitFrequency");
    transmit_ = Named(new QPushButton(LangText(language_, tid::kTestModeTransmit), this), "transmit");
    transmit_->setCheckable(true);
    indicator_ = new TransmitIndicator(language_, this);
    squelch_ = Named(new QSpinBox(this), "squelch");
    squelch_->setRange(0, kSquelchMax);
    power_ = Named(new QComboBox(this), "power");
    power_->addItem(LangText(language_, tid::kBandPointHigh), 0);
    power_->addItem(LangText(language_, tid::kBandPointLow), 1);
    spacing_ = Named(new QComboBox(this), "spacing");
    spacing_->addItem(LangText(language_, tid::kTestModeWide));
    spacing_->addItem(LangText(language_, tid::kTestModeNarrow));
    beatShift_ = Named(new QCheckBox(LangText(language_, tid::kTestModeBeatShift), this), "beatShift");
    micMute_ = Named(new QCheckBox(LangText(language_, tid::kTestModeMicMute), this), "micMute");
    compander_ = Named(new QCheckBox(LangText(language_, tid::kTestModeCompander), this), "compander");
    volume_ = Named(new QSlider(Qt::Horizontal, this), "volume");
    volume_->setRange(0, kVolumeMax);
    volume_->setSingleStep(1);
    volume_->setPageStep(1);
    volume_->setTickPosition(QSlider::TicksBelow);
    volumeSpin_ = Named(new QSpinBox(this), "volumeSpin");
    volumeSpin_->setRange(0, kVolumeMax);
    register_ = Named(new QPushButton(LangText(language_, tid::kTestModeRegister), this), "register");
    items_ = Named(new QListWidget(this), "items");
    for (const TuningItem& item : TuningItemTable()) items_->addItem(LangText(language_, item.text));
    help_ = Named(new QPushButton(LangText(language_, tid::kButtonHelp), this), "help");
    print_ = Named(new QPushButton(LangText(language_, tid::kButtonPrint), this), "print");
    close_ = Named(new QPushButton(LangText(language_, tid::kButtonClose), this), "close");
    for (QPushButton* b : {transmit_, register_, help_, print_, close_}) b->setAutoDefault(false);
}

void TestModeDialog::LayOut() {
    auto* frequency = new QGroupBox(LangText(language_, tid::kTestModeFrequencyGroup), this);
    auto* f = new QFormLayout(frequency);
    f->addRow(Label(language_, tid::kTestModeChannel, this), channel_);
    f->addRow(Label(language_, tid::kTestModeReceiveFrequency, this), rx_);
    f->addRow(Label(language_, tid::kTestModeTransmitFrequency, this), tx_);
    f->addRow(Label(language_, tid::kTestModeSpacing, this), spacing_);
    f->addRow(Label(language_, tid::kTestModePower, this), power_);
    f->addRow(transmit_);
    auto* signalling = new QGroupBox(LangText(language_, tid::kTestModeSignallingGroup), this);
    auto* s = new QFormLayout(signalling);
    s->addRow(Label(language_, tid::kTestModeSignalling, this), signalling_);
    s->addRow(Label(language_, tid::kTestModeSquelch, this), squelch_);
    s->addRow(beatShift_);
    auto* audio = new QGroupBox(LangText(language_, tid::kTestModeAudioGroup), this);
    auto* a = new QGridLayout(audio);
    a->addWidget(Label(language_, tid::kTestModeVolume, this), 0, 0);
    a->addWidget(volume_, 0, 1);
    a->addWidget(volumeSpin_, 0, 2);
    a->addWidget(micMute_, 1, 0, 1, 3);
    a->addWidget(compander_, 2, 0, 1, 3);
    auto* tuning = new QGroupBox(LangText(language_, tid::kTestModeItems), this);
    items_->setAccessibleName(WithoutMnemonic(tuning->title()));
    auto* t = new QVBoxLayout(tuning);
    t->addWidget(items_);
    t->addWidget(register_);
    items_->setMinimumWidth(items_->sizeHintForColumn(0) + 24);
    items_->setMaximumHeight(items_->sizeHintForRow(0) * (kTuningItems + 1) + 8);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(frequency);
    leftColumn->addWidget(signalling);
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(audio);
    rightColumn->addWidget(tuning);
    rightColumn->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(leftColumn);
    columns->addLayout(rightColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print_);
    buttons->addWidget(help_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(indicator_);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    // Tab goes down the left column's groups, then the right one's, then the
    // buttons: as the controls stand, not as they were made.
    QWidget* const order[] = {channel_, spacing_, power_, transmit_, signalling_, squelch_, beatShift_, volume_,
                              volumeSpin_, micMute_, compander_, items_, register_, print_, help_, close_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TestModeDialog::ConnectControls() {
    connect(channel_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int n) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SelectChannel(n - 1); });
        ShowState();
    });
    connect(signalling_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int n) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SelectSignalling(n - 1); });
        ShowState();
    });
    connect(transmit_, &QPushButton::toggled, this, [this](bool on) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SetTransmit(on); });
        ShowState();
    });
    connect(squelch_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int level) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SetSquelch(level); });
        ShowState();
    });
    connect(power_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (syncing_ || index < 0) return;
        const bool high = power_->itemData(index).toInt() == 1;
        (void)OnWorker([&] { return session_.SetPower(high); });
        ShowState();  // a failed command switches the transmitter off
    });
    connect(spacing_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int) { ShowFrequencies(); });
    connect(beatShift_, &QCheckBox::toggled, this, [this](bool on) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SetBeatShift(on ? 1 : 0); });
        ShowState();
    });
    connect(micMute_, &QCheckBox::toggled, this, [this](bool on) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SetMicMute(on); });
        ShowState();
    });
    connect(compander_, &QCheckBox::toggled, this, [this](bool on) {
        if (syncing_) return;
        (void)OnWorker([&] { return session_.SetCompander(on); });
        ShowState();
    });
    connect(volume_, &QSlider::valueChanged, this, &TestModeDialog::OnVolume);
    connect(volumeSpin_, qOverload<int>(&QSpinBox::valueChanged), this, &TestModeDialog::OnVolume);
    connect(register_, &QPushButton::clicked, this, [this] {
        (void)OnWorker([&] { return session_.StoreReference(); });
        ShowState();
    });
    connect(items_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { Adjust(items_->row(item)); });
    const auto help = [this] {
        if (helpHandler_) helpHandler_(kTestModeHelp);
    };
    connect(help_, &QPushButton::clicked, this, help);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, help);
    connect(print_, &QPushButton::clicked, this, [this] {
        if (printHandler_) printHandler_();
    });
    connect(close_, &QPushButton::clicked, this, &TestModeDialog::reject);
}

void TestModeDialog::ShowFrequencies() {
    const int ch = session_.Channel();
    rx_->setText(QString::fromStdString(CodeTables::FrequencyToText(session_.ChannelFrequency(ch, 0), ".")));
    tx_->setText(QString::fromStdString(CodeTables::FrequencyToText(session_.ChannelFrequency(ch, 1), ".")));
}

void TestModeDialog::ShowState() {
    syncing_ = true;
    channel_->setValue(session_.Channel() + 1);
    signalling_->setValue(session_.Signalling() + 1);
    transmit_->setChecked(session_.Transmitting());
    squelch_->setValue(session_.Squelch());
    volume_->setValue(session_.Volume());
    volumeSpin_->setValue(session_.Volume());
    syncing_ = false;
    indicator_->Show(session_);
    ShowFrequencies();
}

void TestModeDialog::OnVolume(int position) {
    if (syncing_) return;
    (void)OnWorker([&] { return session_.SetVolume(position); });
    ShowState();
}

void TestModeDialog::Adjust(int item) {
    if (item < 0 || item >= kTuningItems) return;
    // The transmitter goes off before a point is switched on.
    if (session_.Transmitting()) (void)OnWorker([&] { return session_.SetTransmit(false); });
    ShowState();
    TuningAdjustDialog dialog(session_, language_, item, this);
    dialog.SetHelpHandler(helpHandler_);
    if (adjustRunner_) adjustRunner_(dialog);
    else dialog.exec();
    ShowState();
    if (!dialog.PointSwitchedOff()) reject();
}

namespace {

// A control's label as a print-out's row label: without its mnemonic and colon.
std::string PrintLabel(const LanguageTable& language, tid::TextId id) {
    QString label = WithoutMnemonic(LangText(language, id)).trimmed();
    if (label.endsWith(QLatin1Char(':'))) label.chop(1);
    return label.toStdString();
}

std::string OnOff(const LanguageTable& language, bool on) {
    return PrintLabel(language, on ? tid::kButtonYes : tid::kButtonNo);
}

}  // namespace

print::Document TestModeDialog::PrintOut(const std::string& printedAt) const {
    const LanguageTable& l = language_;
    print::Document doc;
    doc.title = "VRM-650T";
    doc.pageNumbers = l.Text(tid::kPrintPageNumbers);
    doc.facts.push_back({l.Text(tid::kPrintPrinted), printedAt});

    print::Table channels;
    channels.headings = {PrintLabel(l, tid::kTestModeChannel), PrintLabel(l, tid::kTestModeReceiveFrequency),
                         PrintLabel(l, tid::kTestModeTransmitFrequency)};
    const std::string separator = print::PrintDecimalSeparator(l);
    for (int ch = 0; ch < kTestChannels; ++ch) {
        const bool valid = session_.ChannelValid(ch);
        channels.AddRow({std::to_string(ch + 1),
                         valid ? CodeTables::FrequencyToText(session_.ChannelFrequency(ch, 0), separator) : std::string(),
                         valid ? CodeTables::FrequencyToText(session_.ChannelFrequency(ch, 1), separator) : std::string()});
    }

    print::Table now;
    now.headings = {l.Text(tid::kPrintSetting), l.Text(tid::kPrintValue)};
    now.AddRow({PrintLabel(l, tid::kTestModeChannel), std::to_string(channel_->value())});
    now.AddRow({PrintLabel(l, tid::kTestModeSpacing), spacing_->currentText().toStdString()});
    now.AddRow({PrintLabel(l, tid::kTestModePower), power_->currentText().toStdString()});
    now.AddRow({PrintLabel(l, tid::kTestModeTransmit), OnOff(l, transmit_->isChecked())});
    now.AddRow({PrintLabel(l, tid::kTestModeSignalling), std::to_string(signalling_->value())});
    now.AddRow({PrintLabel(l, tid::kTestModeSquelch), std::to_string(squelch_->value())});
    now.AddRow({PrintLabel(l, tid::kTestModeBeatShift), OnOff(l, beatShift_->isChecked())});
    now.AddRow({PrintLabel(l, tid::kTestModeVolume), std::to_string(volumeSpin_->value())});
    now.AddRow({PrintLabel(l, tid::kTestModeMicMute), OnOff(l, micMute_->isChecked())});
    now.AddRow({PrintLabel(l, tid::kTestModeCompander), OnOff(l, compander_->isChecked())});

    // The tuning values as the radio reported them when test mode started,
    // shown as the Tuning Data grid shows them (stored byte + 1).
    print::Table tuning;
    tuning.headings = {l.Text(tid::kPrintSetting), l.Text(tid::kPrintValue)};
    const auto& settings = session_.Settings();
    for (const TuningRow& row : TuningRowTable()) {
        if (row.offset < 0 || static_cast<std::size_t>(row.offset) >= settings.size()) continue;
        tuning.AddRow({TuningRowLabel(l, row), std::to_string(TuningShownValue(settings[row.offset]))});
    }

    doc.sections.push_back({PrintLabel(l, tid::kTestModeTitle), {channels, now}});
    doc.sections.push_back({PrintLabel(l, tid::kTestModeItems), {tuning}});
    return doc;
}

}  // namespace vrm
