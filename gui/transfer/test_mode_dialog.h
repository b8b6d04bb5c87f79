// Test Mode (resource 153) and the tuning adjustment dialog (resource 242).
// Both drive a started TestModeSession: every control is one command to the
// radio; a failed command has told the user and the control shows the
// radio's state again. The session switches the transmitter off when the
// dialogs close; the caller ends the session after exec().
#pragma once

#include <QDialog>
#include <QLabel>
#include <cstdint>
#include <functional>
#include <string>

#include "core/link/test_mode.h"
#include "gui/transfer/transmit_indicator.h"
#include "core/exchange/print_document.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabBar;
class QTimer;

namespace vrm {

class LanguageTable;

class TuningAdjustDialog final : public QDialog {
    Q_OBJECT
public:
    TuningAdjustDialog(TestModeSession& session, const LanguageTable& language, int item, QWidget* parent);

    // False when a point could not be switched off: the Test Mode dialog
    // then closes as well.
    bool PointSwitchedOff() const { return pointOff_; }
    // F1 opens help at the item's context.
    void SetHelpHandler(std::function<void(std::uint32_t context)> handler) { helpHandler_ = std::move(handler); }

    QTabBar* Tabs() const { return tabs_; }
    QSlider* Slider() const { return slider_; }
    QSpinBox* Spin() const { return spin_; }
    QLabel* CurrentValue() const { return current_; }
    QLabel* AppliedValue() const { return applied_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* BandPassButton() const { return bandPass_; }
    QPushButton* TransmitButton() const { return tx_; }
    TransmitIndicator* TransmitState() const { return indicator_; }
    QCheckBox* SineWave() const { return sine_; }
    QTimer* Refresh() const { return refresh_; }

    void done(int result) override;

private:
    void LayOut();
    void ConnectControls();
    void SelectTab(int tab);
    void OnValue(int value);
    void OnRefresh();
    void ShowCurrent(int value);
    void ShowTransmit();

    TestModeSession& session_;
    const LanguageTable& language_;
    int item_;
    std::function<void(std::uint32_t)> helpHandler_;
    int sent_ = 1;  // the value the radio was last stepped to
    bool syncing_ = false;
    bool pointOff_ = true;
    QTabBar* tabs_ = nullptr;
    QSlider* slider_ = nullptr;
    QSpinBox* spin_ = nullptr;
    QLabel* current_ = nullptr;
    QLabel* applied_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* bandPass_ = nullptr;
    QPushButton* tx_ = nullptr;
    QCheckBox* sine_ = nullptr;
    QPushButton* close_ = nullptr;
    QTimer* refresh_ = nullptr;
    TransmitIndicator* indicator_ = nullptr;
};

class TestModeDialog final : public QDialog {
    Q_OBJECT
public:
    TestModeDialog(TestModeSession& session, const LanguageTable& language, QWidget* parent);

    // Opens help at a context: the Help button and F1 with the dialog's, F1 in
    // an adjustment dialog with its tuning item's.
    void SetHelpHandler(std::function<void(std::uint32_t context)> handler) { helpHandler_ = std::move(handler); }
    // What the Print button does (the frame shows the print preview).
    void SetPrintHandler(std::function<void()> handler) { printHandler_ = std::move(handler); }
    // The print-out: the test channels' frequencies, the current settings and
    // the tuning values read at the start, with the date and time `printedAt`.
    print::Document PrintOut(const std::string& printedAt) const;
    QPushButton* PrintButton() const { return print_; }
    // Opens the adjustment dialog of a tuning item (the item list does).
    void Adjust(int item);
    // Tests show the adjustment dialog themselves.
    void SetAdjustRunner(std::function<void(TuningAdjustDialog&)> runner) { adjustRunner_ = std::move(runner); }

    QSpinBox* Channel() const { return channel_; }
    QSpinBox* Signalling() const { return signalling_; }
    QPushButton* Transmit() const { return transmit_; }
    TransmitIndicator* TransmitState() const { return indicator_; }
    QSpinBox* Squelch() const { return squelch_; }
    QComboBox* Power() const { return power_; }
    QComboBox* Spacing() const { return spacing_; }
    QCheckBox* BeatShift() const { return beatShift_; }
    QCheckBox* MicMute() const { return micMute_; }
    QCheckBox* Compander() const { return compander_; }
    QSlider* Volume() const { return volume_; }
    QSpinBox* VolumeSpin() const { return volumeSpin_; }
    QPushButton* Register() const { return register_; }
    QListWidget* Items() const { return items_; }
    QLabel* ReceiveFrequency() const { return rx_; }
    QLabel* TransmitFrequency() const { return tx_; }

private:
    void BuildControls();
    void LayOut();
    void ConnectControls();
    void ShowState();
    void ShowFrequencies();
    void OnVolume(int position);

    TestModeSession& session_;
    const LanguageTable& language_;
    std::function<void(std::uint32_t)> helpHandler_;
    std::function<void(TuningAdjustDialog&)> adjustRunner_;
    std::function<void()> printHandler_;
    bool syncing_ = false;
    QSpinBox* channel_ = nullptr;
    QSpinBox* signalling_ = nullptr;
    QPushButton* transmit_ = nullptr;
    QSpinBox* squelch_ = nullptr;
    QComboBox* power_ = nullptr;
    QComboBox* spacing_ = nullptr;
    QCheckBox* beatShift_ = nullptr;
    QCheckBox* micMute_ = nullptr;
    QCheckBox* compander_ = nullptr;
    QSlider* volume_ = nullptr;
    QSpinBox* volumeSpin_ = nullptr;
    QPushButton* register_ = nullptr;
    QListWidget* items_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* rx_ = nullptr;
    QLabel* tx_ = nullptr;
    TransmitIndicator* indicator_ = nullptr;
};

}  // namespace vrm
