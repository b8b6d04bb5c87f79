// The text IDs of test mode and tuning.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

// Test mode and tuning
inline constexpr TextId kMsgReferenceMismatch = 10007034;
inline constexpr TextId kMsgTuningWriteQuestion = 10007044;
inline constexpr TextId kMsgTuningWriteWarning = 10007045;
inline constexpr TextId kMsgRestoreQuestion = 10007046;
inline constexpr TextId kMsgStoreReferenceQuestion = 10007081;
inline constexpr TextId kMsgNoReferenceTuning = 10007084;
inline constexpr TextId kTuningWindowTitle = 10406000;
inline constexpr TextId kTuningFileNameLabel = 10406001;
inline constexpr TextId kTuningRadioInfoLabel = 10406002;
inline constexpr TextId kTuningItemHeading = 10406003;
inline constexpr TextId kTuningValueHeading = 10406004;
inline constexpr TextId kTuningStoredInfo = 10406005;
inline constexpr TextId kTuningRadioInfo = 10406006;
inline constexpr TextId kTuningRestoreButton = 10406007;
inline constexpr TextId kTuningFileGroup = 10406008;
inline constexpr TextId kTuningReading = 10406009;
inline constexpr TextId kTuningWriting = 10406010;
inline constexpr TextId kTuningRestoring = 10406011;
inline constexpr TextId kTuningFileFilter = 10406101;
inline constexpr TextId kTestModeTitle = 10407000;
inline constexpr TextId kTestModeChannel = 10407001;
inline constexpr TextId kTestModeSignalling = 10407002;
inline constexpr TextId kTestModeTransmit = 10407003;
inline constexpr TextId kTestModeSquelch = 10407004;
inline constexpr TextId kTestModePower = 10407005;
inline constexpr TextId kTestModeSpacing = 10407006;
inline constexpr TextId kTestModeBeatShift = 10407007;
inline constexpr TextId kTestModeMicMute = 10407008;
inline constexpr TextId kTestModeCompander = 10407009;
inline constexpr TextId kTestModeVolume = 10407010;
inline constexpr TextId kTestModeRegister = 10407011;
inline constexpr TextId kTestModeItems = 10407012;
inline constexpr TextId kTestModeReceiveFrequency = 10407013;
inline constexpr TextId kTestModeTransmitFrequency = 10407014;
inline constexpr TextId kTestModeFrequencyGroup = 10407015;
inline constexpr TextId kTestModeSignallingGroup = 10407016;
inline constexpr TextId kTestModeAudioGroup = 10407017;
inline constexpr TextId kTestModeReferenceCaption = 10407018;
inline constexpr TextId kTestModeWide = 10407050;
inline constexpr TextId kTestModeNarrow = 10407051;
inline constexpr TextId kAdjustTitle = 10408001;
inline constexpr TextId kAdjustItem = 10408002;
inline constexpr TextId kAdjustCurrentValue = 10408004;
inline constexpr TextId kAdjustAppliedValue = 10408006;
inline constexpr TextId kAdjustApply = 10408008;
inline constexpr TextId kAdjustSineWave = 10408010;
inline constexpr TextId kAdjustBandPass = 10408011;
inline constexpr TextId kAdjustTx = 10408016;
inline constexpr TextId kTuningPowerHigh = 10408504;
inline constexpr TextId kTuningPowerLow = 10408505;
inline constexpr TextId kTuningMaxDeviation = 10408518;
inline constexpr TextId kTuningReferenceFrequency = 10408534;
inline constexpr TextId kTuningSensitivity = 10408564;
inline constexpr TextId kTuningPowerHighRow = 10408565;
inline constexpr TextId kTuningBatteryWarning = 10408566;
inline constexpr TextId kMsgTuningFileShort = 19108001;       // en: "%s is too short to be a tuning file." | de: "%s ist zu kurz für eine Abgleichdatei."
inline constexpr TextId kMsgTuningFileNotWritten = 10007040;
inline constexpr TextId kMsgTuningNoValues = 10007039;
inline constexpr TextId kMsgTuningBackupSaved = 19108004;     // en: "The radio's previous tuning values were saved in %s." | de: "Die bisherigen Abgleichwerte des Funkgeräts wurden in %s gesichert."
inline constexpr TextId kMsgTuningBackupFailed = 19108005;    // en: "The radio's tuning values could not be saved in %s, so the radio was not changed." | de: "Die Abgleichwerte des Funkgeräts konnten nicht in %s gesichert werden; das Funkgerät wurde daher nicht verändert."
inline constexpr TextId kMsgTransmitterNotOff = 19108006;     // en: "The radio did not confirm that its transmitter is off. Switch the radio off now." | de: "Das Funkgerät hat nicht bestätigt, dass sein Sender aus ist. Schalten Sie das Funkgerät jetzt aus."
inline constexpr TextId kMsgTuningRestored = 10007047;
inline constexpr TextId kCliTuningSaved = 19108008;           // en: "Read the radio's tuning values and saved them in %s." | de: "Die Abgleichwerte des Funkgeräts wurden gelesen und in %s gespeichert."
inline constexpr TextId kCliTuningInformation = 19108009;     // en: "Information" | de: "Information"
inline constexpr TextId kCliTuningText = 19108010;            // en: "Text" | de: "Text"
inline constexpr TextId kCliTuningSpare = 19108011;           // en: "Bytes 14-15" | de: "Bytes 14-15"
inline constexpr TextId kCliTuningFileArgument = 19108012;    // en: "Give one tuning file (*.tun)." | de: "Geben Sie eine Abgleichdatei (*.tun) an."
inline constexpr TextId kCliTuningNotTun = 19108013;          // en: "%s is not a tuning file name: it must end in .tun." | de: "%s ist kein Name einer Abgleichdatei: Er muss auf .tun enden."
inline constexpr TextId kTransmitOnAir = 19123003;            // en: "TRANSMITTING: the radio is on the air" | de: "SENDER EIN: Das Funkgerät sendet"
inline constexpr TextId kTransmitNotConfirmedOff = 19123004;  // en: "The radio did not confirm that the transmitter is off: it may still be transmitting. Switch the radio off." | de: "Das Funkgerät hat nicht bestätigt, dass der Sender aus ist: Es sendet möglicherweise noch. Schalten Sie das Funkgerät aus."
inline constexpr TextId kTransmitStateName = 19123005;        // en: "Transmitter state" | de: "Senderzustand"
inline constexpr TextId kTransmitOff = 19123007;              // en: "Transmitter off" | de: "Sender aus"

}  // namespace vrm::tid
