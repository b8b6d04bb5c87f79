// Test mode: the radio in tuning mode, driven live from the program. The
// start-up checks that the radio is the one the document describes (model
// identity, the eight test channels, the three band points) before anything
// is shown; then each control of the Test Mode dialog and of the tuning
// adjustment dialog is one command of the test grammar.
//
// The session owns the port from Start() to End(). The transmitter is never
// left on: End(), opening an adjustment point and a failed command while
// transmitting all switch it off first, and the user is told when the radio
// does not confirm that.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/link/read_transfer.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

enum class TestModeStart {
    kOk,
    kFailed,              // a step failed without a message of its own (text 10007003)
    kModelRefused,        // text 10007004
    kOtherIdentity,       // text 10007006
    kTestChannelDiffers,  // text 10007005
    kReferenceDiffers,    // text 10007034
};

// A tuning item of the adjustment dialog: its text, the command byte of each
// point (the tab chosen), how many tabs it has and their texts.
struct TuningItem {
    tid::TextId text;
    std::array<std::uint8_t, 4> commands;
    int tabs;
    std::array<tid::TextId, 3> tabTexts;
    int helpTopic;
    bool bandPassFilter;  // shows the Band Pass Filter button
};
inline constexpr int kTuningItems = 4;
const std::array<TuningItem, kTuningItems>& TuningItemTable();

// The slider's page size for a range of `values` values.
int TuningPageSize(int values);

inline constexpr int kTestChannels = 8;
inline constexpr int kVolumeMax = 7;
inline constexpr int kSquelchMax = 9;
inline constexpr int kSignallingCount = 16;

class TestModeSession {
public:
    // `live` is the document's image: its identity, test frequencies and
    // band points are what the radio must hold.
    TestModeSession(const TransferContext& ctx, const ImageBuffer& live);
    ~TestModeSession();
    TestModeSession(const TestModeSession&) = delete;
    TestModeSession& operator=(const TestModeSession&) = delete;

    // Opens the port and runs the start-up. On failure the user has been
    // told, the radio has left tuning mode and the port is closed.
    TestModeStart Start();
    // Switches off what is on (transmitter, adjustment point), takes the radio
    // out of tuning mode (one try) and closes the port. Again does nothing.
    // False when the radio did not confirm that the transmitter is off.
    bool End();
    bool Active() const { return active_; }

    // --- Test Mode dialog ----------------------------------------------------
    // Each returns true on success; a failure shows text 10007023 and
    // switches a transmitter that is on off.
    bool SelectChannel(int channel);      // 0-7
    bool SelectSignalling(int signalling);// 0-based
    bool SetTransmit(bool on);
    bool SetSquelch(int level);           // clamped to 0-kSquelchMax
    bool SetPower(bool high);
    bool SetBeatShift(int value);
    bool SetMicMute(bool on);
    bool SetCompander(bool on);
    // Moves the volume to `position` (clamped to 0-7) by the difference.
    bool SetVolume(int position);
    // Stores the reference tuning after confirmation (text 10007081); false
    // also when cancelled.
    bool StoreReference();

    int Channel() const { return channel_; }
    int Signalling() const { return signalling_; }
    bool Transmitting() const { return transmitting_; }
    // The radio did not confirm the last switching off of the transmitter:
    // it may still be transmitting (Transmitting() stays true).
    bool TransmitOffUnconfirmed() const { return offUnconfirmed_; }
    int Squelch() const { return squelch_; }
    int Volume() const { return volume_; }
    bool ChannelValid(int channel) const;
    // The receive and transmit frequency of a test channel as the radio
    // reported them.
    FrequencyCode ChannelFrequency(int channel, int which) const;
    const std::array<std::uint8_t, 14>& Settings() const { return settings_; }

    // --- Tuning adjustment ---------------------------------------------------
    // Switches the point of `item` at tab `tab` on (the transmitter off
    // first) and reads its value. A point that is on is switched off first.
    bool PointOn(int item, int tab, std::uint8_t& current);
    // False when the radio did not confirm; the caller then ends the session.
    bool PointOff();
    bool PointStep(int delta);
    bool PointApply(std::uint8_t value);
    // The refresh: the point's current value.
    bool PointQuery(std::uint8_t& value);
    bool SineWave(bool on);
    bool BandPass();
    int ActiveItem() const { return item_; }
    int ActiveTab() const { return tab_; }

private:
    bool Failed();  // the 10007023 path
    bool SwitchTransmitterOff();
    TestModeStart StartUp();
    void Tell(tid::TextId text);

    TransferContext ctx_;
    const ImageBuffer& live_;
    std::unique_ptr<TransferScope> scope_;
    bool active_ = false;
    int channel_ = 0;
    int signalling_ = 0;
    bool transmitting_ = false;
    bool offUnconfirmed_ = false;
    int squelch_ = 0;
    int volume_ = 0;
    std::array<std::array<std::uint8_t, 8>, kTestChannels> frequencies_{};
    std::array<std::uint8_t, 14> settings_{};
    int item_ = -1;
    int tab_ = -1;
};

}  // namespace vrm
