// The text IDs of the editors: their labels, lists and messages, and the
// field commands of vrm650t-cli.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

// Channel editors: messages
inline constexpr TextId kMsgRxOutOfBand = 10007015;
inline constexpr TextId kMsgTxOutOfBand = 10007016;
inline constexpr TextId kMsgExcludedFrequency = 10007076;
inline constexpr TextId kMsgRepeaterPaired = 10007082;
inline constexpr TextId kMsgReservedFrequency = 10007086;

// Channel information grid
inline constexpr TextId kGridNumber = 10301001;
inline constexpr TextId kChannelEditButton = 10305008;
inline constexpr TextId kGridRx = 10305009;
inline constexpr TextId kGridTx = 10305010;
inline constexpr TextId kGridDecode = 10305011;
inline constexpr TextId kGridEncode = 10305012;
inline constexpr TextId kGridPower = 10305013;
inline constexpr TextId kGridScanAdd = 10305015;

// Channel edit form (the repeater and frequency-scan labels head the grid's
// columns too)
inline constexpr TextId kChannelRepeaterLabel = 10305019;
inline constexpr TextId kChannelFrequencyScanLabel = 10305020;
inline constexpr TextId kChannelEditTitle = 10305500;
inline constexpr TextId kChannelLabel = 10305501;
inline constexpr TextId kChannelRxLabel = 10305502;
inline constexpr TextId kChannelTxLabel = 10305503;
inline constexpr TextId kChannelDecodeLabel = 10305504;
inline constexpr TextId kChannelEncodeLabel = 10305505;
inline constexpr TextId kChannelPowerLabel = 10305506;
inline constexpr TextId kChannelBusyLockoutLabel = 10305510;
inline constexpr TextId kChannelScanAddLabel = 10305515;
inline constexpr TextId kChannelVoxLabel = 10305518;
inline constexpr TextId kPowerHigh = 10305601;
inline constexpr TextId kPowerLow = 10305602;
inline constexpr TextId kBusyCarrier = 10305614;
inline constexpr TextId kBusyQtDqt = 10305615;
inline constexpr TextId kBusyQtDqtMismatch = 10305616;

// Optional features
inline constexpr TextId kFeatureTot = 10306101;
inline constexpr TextId kFeatureTotPreAlert = 10306102;
inline constexpr TextId kFeatureTotRekey = 10306103;
inline constexpr TextId kFeatureTotReset = 10306104;
inline constexpr TextId kFeatureSquelch = 10306105;
inline constexpr TextId kFeatureMicSense = 10306106;
inline constexpr TextId kFeatureMinVolume = 10306119;
inline constexpr TextId kFeatureMaxVolume = 10306120;
inline constexpr TextId kFeatureBatteryGroup = 10306121;
inline constexpr TextId kFeatureBatterySaver = 10306122;
inline constexpr TextId kFeatureBatteryWarning = 10306123;
inline constexpr TextId kFeatureBatteryWarningTone = 10306124;
inline constexpr TextId kFeatureVox = 10306125;
inline constexpr TextId kFeatureVoxGain = 10306126;
inline constexpr TextId kFeatureVoxDelay = 10306127;
inline constexpr TextId kFeatureCancelOperation = 10306128;
inline constexpr TextId kFeatureVoxProceedTone = 10306129;
inline constexpr TextId kFeatureTxInhibit = 10306130;
inline constexpr TextId kFeatureAudioVolumeGroup = 10306148;
inline constexpr TextId kFeatureVoiceAnnouncement = 10306150;
inline constexpr TextId kFeatureUsbGroup = 10306151;
inline constexpr TextId kFeatureUsbCharging = 10306152;
inline constexpr TextId kFeaturePowerOnLed = 10306153;
inline constexpr TextId kFeatureRollover = 10306154;
inline constexpr TextId kFeatureSpeakerMute = 10306155;
inline constexpr TextId kFeatureSelfProgramming = 10306156;
inline constexpr TextId kFeatureSelfProgrammingTimer = 10306157;
inline constexpr TextId kFeatureMicNormal = 10306501;
inline constexpr TextId kFeatureChannelAndFunction = 10306502;
inline constexpr TextId kFeatureBatteryLevel1 = 10306503;
inline constexpr TextId kFeatureBatteryLevel2 = 10306504;
inline constexpr TextId kFeatureBatteryLevel3 = 10306505;
inline constexpr TextId kFeatureModeGroup = 10306547;  // also the fixed key cell
inline constexpr TextId kFeatureClone = 10306548;
inline constexpr TextId kFeatureRolloverEntry = 10306549;
inline constexpr TextId kFeatureEndStop = 10306550;
inline constexpr TextId kFeatureVoxDelay03 = 10306551;
inline constexpr TextId kFeatureVoxDelay05 = 10306552;
inline constexpr TextId kFeatureVoxDelay10 = 10306553;
inline constexpr TextId kFeatureVoxDelay15 = 10306554;
inline constexpr TextId kFeatureVoxDelay20 = 10306555;
inline constexpr TextId kFeatureVoxDelay30 = 10306556;
inline constexpr TextId kOnList = 10300002;  // "On" as a list entry

// Key assignment and key image
inline constexpr TextId kKeyShortPress = 10307101;
inline constexpr TextId kKeyLongPress = 10307102;
inline constexpr TextId kKey1 = 10307113;
inline constexpr TextId kKey2 = 10307114;
inline constexpr TextId kKeyNoneTyped = 10307501;
inline constexpr TextId kKeyKeyLockTyped = 10307510;
inline constexpr TextId kKeyMonitorTyped = 10307511;
inline constexpr TextId kKeyScanTyped = 10307515;
inline constexpr TextId kKeySquelchOffTyped = 10307519;
inline constexpr TextId kKeyLowPowerTyped = 10307535;
inline constexpr TextId kKeyChannelUp = 10307536;
inline constexpr TextId kKeyChannelAnnouncement = 10307537;
inline constexpr TextId kKeyOff = 10307538;
inline constexpr TextId kKeyKeyLock = 10307539;
inline constexpr TextId kKeyMonitorMomentary = 10307540;
inline constexpr TextId kKeyScan = 10307541;
inline constexpr TextId kKeySquelchOffMomentary = 10307542;
inline constexpr TextId kKeyTxPower = 10307543;
inline constexpr TextId kKeyChannelDown = 10307544;
inline constexpr TextId kEditorKeyImage = 10307801;

// Scan
inline constexpr TextId kScanRevertChannel = 10308103;
inline constexpr TextId kScanDropoutDelay = 10308106;
inline constexpr TextId kScanDwell = 10308107;
inline constexpr TextId kScanSelectedChannel = 10308502;
inline constexpr TextId kScanLastUsedChannel = 10308505;

// Advanced settings and band points
inline constexpr TextId kAdvancedTabSignaling = 10313001;
inline constexpr TextId kAdvancedTabTuning = 10313002;
inline constexpr TextId kAdvancedTabUsb = 10313003;
inline constexpr TextId kAdvancedQtReverseBurst = 10313101;
inline constexpr TextId kAdvancedTuningGroup = 10313109;
inline constexpr TextId kAdvancedPoint = 10313110;
inline constexpr TextId kAdvancedBurst180 = 10313501;
inline constexpr TextId kAdvancedBurst240 = 10313502;
inline constexpr TextId kAdvancedBurst120 = 10313503;
inline constexpr TextId kBandPointLow = 10408005;
inline constexpr TextId kBandPointCenter = 10408007;
inline constexpr TextId kBandPointHigh = 10408009;

// Test frequencies
inline constexpr TextId kTestRx = 10301002;
inline constexpr TextId kTestTx = 10301003;

// QT/DQT customization
inline constexpr TextId kCustomQtGroup = 10319001;
inline constexpr TextId kCustomCqt1 = 10319002;
inline constexpr TextId kCustomDqtGroup = 10319008;
inline constexpr TextId kCustomCdt1 = 10319009;

// Embedded message
inline constexpr TextId kMessageLine1 = 10403001;
inline constexpr TextId kMessageLine2 = 10403003;

// Editing: texts new to this program
inline constexpr TextId kMsgNotAFrequency = 19107001;      // en: "%s is not a frequency. Type the frequency in MHz, for example 462.5625." | de: "%s ist keine Frequenz. Geben Sie die Frequenz in MHz ein, zum Beispiel 462.5625."
inline constexpr TextId kMsgNotAPresetFrequency = 19107002;// en: "%s is not one of this model's preset frequencies. Choose the frequency from the list." | de: "%s ist keine der festen Frequenzen dieses Modells. Wählen Sie die Frequenz aus der Liste."
inline constexpr TextId kMsgNotANumber = 19107003;         // en: "%s is not a number." | de: "%s ist keine Zahl."
inline constexpr TextId kMsgChoiceNotOffered = 19107004;   // en: "%s cannot be chosen here now." | de: "%s kann hier zurzeit nicht gewählt werden."
inline constexpr TextId kMsgUnknownChoice = 19107005;      // en: "%s is not an entry of this list. Its entries: %s" | de: "%s ist kein Eintrag dieser Liste. Ihre Einträge: %s"
inline constexpr TextId kMsgNotACode = 19107007;           // en: "%s is not a QT tone, a DQT code or Off." | de: "%s ist weder ein QT-Ton noch ein DQT-Code noch Aus."
inline constexpr TextId kMsgMessageCharacter = 19107008;   // en: "The character %s cannot be stored: a message line takes the Western European characters of ISO 8859-1 only." | de: "Das Zeichen %s kann nicht gespeichert werden: Eine Nachrichtenzeile nimmt nur die westeuropäischen Zeichen von ISO 8859-1 auf."
inline constexpr TextId kMsgMessageTooLong = 19107009;     // en: "A message line holds at most 32 characters." | de: "Eine Nachrichtenzeile fasst höchstens 32 Zeichen."
inline constexpr TextId kMsgNotOnOff = 19107006;           // en: "Give on or off, not %s." | de: "Geben Sie on oder off an, nicht %s."
inline constexpr TextId kCmdUndo = 19107010;               // en: "&Undo" | de: "Rückgän&gig"
inline constexpr TextId kCmdRedo = 19107011;               // en: "&Redo" | de: "&Wiederherstellen"
inline constexpr TextId kStatusUndo = 19107012;            // en: "Undo the last change" | de: "Die letzte Änderung rückgängig machen"
inline constexpr TextId kStatusRedo = 19107013;            // en: "Redo the change last undone" | de: "Die zuletzt rückgängig gemachte Änderung wiederherstellen"
inline constexpr TextId kCliUnknownField = 19107101;       // en: "%s is not a field key; vrm650t-cli fields lists them." | de: "%s ist kein Feldschlüssel; vrm650t-cli fields listet sie auf."
inline constexpr TextId kCliFieldHidden = 19107102;        // en: "%s: this model has no such item." | de: "%s: Dieses Modell hat kein solches Element."
inline constexpr TextId kCliFieldDisabled = 19107103;      // en: "%s cannot be changed now: the editor shows it disabled." | de: "%s kann jetzt nicht geändert werden: Der Editor zeigt es gesperrt an."
inline constexpr TextId kCliAssignmentForm = 19107104;     // en: "Give each assignment as KEY=VALUE, not %s." | de: "Geben Sie jede Zuweisung als SCHLÜSSEL=WERT an, nicht %s."
inline constexpr TextId kCliNoAssignment = 19107105;       // en: "Give at least one KEY=VALUE assignment." | de: "Geben Sie mindestens eine Zuweisung SCHLÜSSEL=WERT an."
inline constexpr TextId kCliNoKey = 19107106;              // en: "Name at least one field key." | de: "Geben Sie mindestens einen Feldschlüssel an."
inline constexpr TextId kCliModelOrFile = 19107107;        // en: "Give either --model N or one data file." | de: "Geben Sie entweder --model N oder eine Datendatei an."
inline constexpr TextId kCliStrictRefused = 19107108;      // en: "%s: refused because of --strict." | de: "%s: wegen --strict abgelehnt."
inline constexpr TextId kCliFieldRefused = 19107109;       // en: "%s: the value %s was refused." | de: "%s: Der Wert %s wurde abgelehnt."

}  // namespace vrm::tid
