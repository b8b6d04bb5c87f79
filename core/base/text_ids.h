// The text IDs of the language file that the code uses by name. Every caption
// and message is looked up through one of these.
//
// Add new names in the group they belong to; keep each group sorted.
#pragma once

#include <cstdint>

namespace vrm::tid {

using TextId = std::uint32_t;

// Program and About box
inline constexpr TextId kProgramTitle = 10000001;
inline constexpr TextId kAboutLine1 = 10001001;
inline constexpr TextId kAboutLine3 = 10001003;
inline constexpr TextId kAboutLine4 = 10001004;
inline constexpr TextId kAboutLine5 = 10001005;
inline constexpr TextId kAboutLine6 = 10001006;
inline constexpr TextId kAboutLine7 = 10001007;
inline constexpr TextId kAboutTitle = 10001008;  // also the About tool tip
inline constexpr TextId kAboutLine2 = 10001015;
inline constexpr TextId kAboutNoWarranty = 19124004;  // en: "This program comes with ABSOLUTELY NO WARRANTY. ..." | de: "Dieses Programm wird OHNE JEDE GEWÄHRLEISTUNG ..."

// Menu bar: pop-up captions
inline constexpr TextId kMenuFile = 10003001;
inline constexpr TextId kMenuModel = 10003002;
inline constexpr TextId kMenuEdit = 10003003;
inline constexpr TextId kMenuProgram = 10003004;
inline constexpr TextId kMenuTool = 10003005;
inline constexpr TextId kMenuSetup = 10003006;
inline constexpr TextId kMenuView = 10003007;
inline constexpr TextId kMenuWindow = 10003008;
inline constexpr TextId kMenuHelp = 10003009;

// Menu bar: command captions (and, where the same, status texts)
inline constexpr TextId kCmdNew = 10003101;
inline constexpr TextId kCmdOpen = 10003102;
inline constexpr TextId kCmdSave = 10003103;
inline constexpr TextId kCmdSaveAs = 10003104;
inline constexpr TextId kCmdPrint = 10003107;
inline constexpr TextId kCmdPrintPreview = 10003108;
inline constexpr TextId kCmdExit = 10003110;
inline constexpr TextId kCmdModelInformation = 10003201;
inline constexpr TextId kCmdTestFrequency = 10003301;
inline constexpr TextId kCmdEmbeddedMessage = 10003302;
inline constexpr TextId kCmdChannelInformation = 10003305;
inline constexpr TextId kCmdOptionalFeatures = 10003306;
inline constexpr TextId kCmdKeyAssignment = 10003307;
inline constexpr TextId kCmdScanInformation = 10003308;
inline constexpr TextId kCmdAdvancedSettings = 10003313;
inline constexpr TextId kCmdQtDqtCustomization = 10003319;
inline constexpr TextId kCmdReadData = 10003401;
inline constexpr TextId kCmdWriteData = 10003402;
inline constexpr TextId kCmdTestMode = 10003403;
inline constexpr TextId kCmdTuningData = 10003404;
inline constexpr TextId kCmdMemoryMap = 10003405;
inline constexpr TextId kCmdRadioInformation = 10003501;
inline constexpr TextId kCmdLanguageFileSetup = 10003602;
inline constexpr TextId kCmdTreeView = 10003701;
inline constexpr TextId kCmdToolBar = 10003702;
inline constexpr TextId kCmdStatusBar = 10003703;
inline constexpr TextId kCmdCascade = 10003801;
inline constexpr TextId kCmdTileHorizontally = 10003802;
inline constexpr TextId kCmdTileVertically = 10003803;
inline constexpr TextId kCmdArrange = 10003804;
inline constexpr TextId kCmdCloseAllWindow = 10003805;
inline constexpr TextId kCmdHelpTopics = 10003901;
inline constexpr TextId kCmdAbout = 10003902;
inline constexpr TextId kCmdHelpTopicsAdvanced = 10003903;

// Tool bar tool tips (About uses kAboutTitle)
inline constexpr TextId kTipNew = 10005001;
inline constexpr TextId kTipOpen = 10005002;
inline constexpr TextId kTipSave = 10005003;
inline constexpr TextId kTipPrint = 10005004;
inline constexpr TextId kTipRead = 10005005;
inline constexpr TextId kTipWrite = 10005006;

// Editor captions (tree of editors, window titles, Edit menu status texts)
inline constexpr TextId kEditorTestFrequency = 10301000;
inline constexpr TextId kEditorChannelInformation = 10305000;
inline constexpr TextId kEditorOptionalFeatures = 10306000;
inline constexpr TextId kEditorKeyAssignment = 10307000;
inline constexpr TextId kEditorScanInformation = 10308000;
inline constexpr TextId kEditorAdvancedSettings = 10313000;
inline constexpr TextId kEditorQtDqtCustomization = 10319000;
inline constexpr TextId kEditorEmbeddedMessage = 10403002;

// Main frame
inline constexpr TextId kFrameCloseQuestion = 10104001;
inline constexpr TextId kFrameCloseCaption = 10104002;
inline constexpr TextId kTreeBarCaption = 10701001;

// Model dialog
inline constexpr TextId kModelDialogTitle = 10200002;
inline constexpr TextId kModelDialogModelLabel = 10200003;
inline constexpr TextId kModelDialogBandLabel = 10200004;

// Language dialog
inline constexpr TextId kLanguageDialogTitle = 10602001;
inline constexpr TextId kLanguageDialogLabel = 10602002;

// Common buttons
inline constexpr TextId kButtonOk = 10002001;
inline constexpr TextId kButtonCancel = 10002002;
inline constexpr TextId kButtonClose = 10002003;
inline constexpr TextId kButtonHelp = 10002004;
inline constexpr TextId kButtonRead = 10002005;
inline constexpr TextId kButtonWrite = 10002006;
inline constexpr TextId kButtonPrint = 10002007;

// Message box captions
inline constexpr TextId kCaptionError = 10006001;
inline constexpr TextId kCaptionWarning = 10006002;
inline constexpr TextId kCaptionQuestion = 10006003;

// Messages
inline constexpr TextId kMsgFileUnreadable = 10007001;
inline constexpr TextId kMsgCommunicationError = 10007003;
inline constexpr TextId kMsgModelNotAccepted = 10007004;
inline constexpr TextId kMsgTestFrequencyMismatch = 10007005;
inline constexpr TextId kMsgTestModeOtherModel = 10007006;
inline constexpr TextId kMsgWriteOtherIdentity = 10007007;
inline constexpr TextId kMsgSaveChangesFormat = 10007010;
inline constexpr TextId kMsgOverwriteQuestion = 10007011;
inline constexpr TextId kMsgOverwriteFileLabel = 10007012;
inline constexpr TextId kMsgDataReset = 10007013;
inline constexpr TextId kMsgWrongKindOfFile = 10007014;
inline constexpr TextId kMsgBandChange = 10007017;
inline constexpr TextId kMsgSiblingProduct = 10007021;
inline constexpr TextId kMsgTestModeCommandFailed = 10007023;
inline constexpr TextId kMsgOtherProgramFile = 10007025;
inline constexpr TextId kMsgNotADataFile = 10007026;
inline constexpr TextId kMsgWrongPassword = 10007027;

// Lists and code texts
inline constexpr TextId kDataFileFilter = 10100001;
inline constexpr TextId kTitleFileLabel = 10100002;
inline constexpr TextId kCodeOff = 10300001;
inline constexpr TextId kCodeNone = 10300003;
inline constexpr TextId kOnText = 10300006;
inline constexpr TextId kOffText = 10300007;

// Grid context menu
inline constexpr TextId kGridMenuCopy = 10004001;
inline constexpr TextId kGridMenuPaste = 10004002;
inline constexpr TextId kGridMenuDelete = 10004003;
inline constexpr TextId kGridMenuToClip = 10004004;
inline constexpr TextId kGridMenuToClipWithTitle = 10004005;

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

// Read and write transfers
inline constexpr TextId kReadWindowTitle = 10401001;
inline constexpr TextId kReadWindowRunning = 10401002;
inline constexpr TextId kReadDone = 10401003;
inline constexpr TextId kProgressFormat = 10401004;
inline constexpr TextId kReadDoneCaption = 10401005;
inline constexpr TextId kWriteWindowTitle = 10402001;
inline constexpr TextId kWriteWindowRunning = 10402002;
inline constexpr TextId kWriteDone = 10402003;
inline constexpr TextId kWriteAdjustTime = 10402004;
inline constexpr TextId kWriteDoneCaption = 10402005;
inline constexpr TextId kWriteContinuous = 10402006;

// Memory Map viewer
inline constexpr TextId kMemoryMapTitle = 10404001;
inline constexpr TextId kMemoryMapShowCharacters = 10404002;

// Radio Information
inline constexpr TextId kRadioInfoReading = 10501001;
inline constexpr TextId kRadioInfoTitle = 10502000;
inline constexpr TextId kRadioInfoModelType = 10502001;
inline constexpr TextId kRadioInfoFrequency = 10502002;
inline constexpr TextId kRadioInfoSerialNumber = 10502003;
inline constexpr TextId kRadioInfoFirmwareVersion = 10502004;
inline constexpr TextId kRadioInfoBootVersion = 10502005;
inline constexpr TextId kRadioInfoChecksum = 10502006;
inline constexpr TextId kRadioInfoOptionSettings = 10502007;

// Password prompt
inline constexpr TextId kPasswordTitle = 10603001;

// Data files and the data-file commands of vrm650t-cli: texts new to this program
inline constexpr TextId kCliModelRange = 19101001;        // en: "--model needs a model number from 1 to 4." | de: "--model braucht eine Modellnummer von 1 bis 4."
inline constexpr TextId kCliBandNotOfModel = 19101002;    // en: "--band %s is not a frequency band of model %d. Its bands: %s" | de: "--band %s ist kein Frequenzbereich von Modell %d. Seine Frequenzbereiche: %s"
inline constexpr TextId kCliOutputMissing = 19101003;     // en: "Name the data file to write with -o FILE." | de: "Geben Sie die zu schreibende Datendatei mit -o DATEI an."
inline constexpr TextId kCliDataPasswordDigits = 19101004;// en: "--data-password needs one to six digits." | de: "--data-password braucht eine bis sechs Ziffern."
inline constexpr TextId kCliOneFile = 19101005;           // en: "Name exactly one data file." | de: "Geben Sie genau eine Datendatei an."
inline constexpr TextId kCliUnknownOption = 19101006;     // en: "Unknown option %s." | de: "Unbekannte Option %s."
inline constexpr TextId kCliWroteFile = 19101007;         // en: "Wrote %s." | de: "%s wurde geschrieben."
inline constexpr TextId kCliFileValid = 19101008;         // en: "%s is a valid data file." | de: "%s ist eine gültige Datendatei."
inline constexpr TextId kCliPasswordNeeded = 19101009;    // en: "%s is protected by a data-file password. Give it with --password DIGITS." | de: "%s ist durch ein Datendatei-Kennwort geschützt. Geben Sie es mit --password ZIFFERN an."
inline constexpr TextId kCliNoTerminal = 19101010;        // en: "No terminal to ask on; the answer is \"%s\". Give --yes to answer yes." | de: "Kein Terminal für die Rückfrage; die Antwort ist \"%s\". Mit --yes wird mit Ja geantwortet."
inline constexpr TextId kCliFileTruncated = 19101011;     // en: "%s is damaged: it holds %d of the 1089 bytes of a data file." | de: "%s ist beschädigt: Sie enthält %d der 1089 Bytes einer Datendatei."
inline constexpr TextId kCliFileOversized = 19101012;     // en: "%s is longer than a data file (1089 bytes) and cannot be opened." | de: "%s ist länger als eine Datendatei (1089 Bytes) und kann nicht geöffnet werden."
inline constexpr TextId kCliPasswordRefused = 19101013;   // en: "%s was not opened: the data-file password was wrong." | de: "%s wurde nicht geöffnet: Das Datendatei-Kennwort war falsch."
inline constexpr TextId kCliPasswordCancelled = 19101014; // en: "%s was not opened: no password was given." | de: "%s wurde nicht geöffnet: Es wurde kein Kennwort angegeben."
inline constexpr TextId kCliFileNotOpened = 19101015;     // en: "%s cannot be opened: %s" | de: "%s kann nicht geöffnet werden: %s"
inline constexpr TextId kCliNotWritten = 19101016;        // en: "%s was not written." | de: "%s wurde nicht geschrieben."
inline constexpr TextId kCliPasswordPrompt = 19101017;    // en: "Data-file password: " | de: "Datendatei-Kennwort: "
inline constexpr TextId kShowDataFile = 19101020;         // en: "Data File" | de: "Datendatei"
inline constexpr TextId kShowPasswordProtected = 19101021;// en: "Data-file Password" | de: "Datendatei-Kennwort"
inline constexpr TextId kShowEntryTyped = 19101022;       // en: "Typed freely" | de: "Frei eingegeben"
inline constexpr TextId kShowEntryList99 = 19101023;      // en: "List of 99 preset frequencies" | de: "Liste mit 99 festen Frequenzen"
inline constexpr TextId kShowEntryList22 = 19101024;      // en: "List of 22 preset frequencies" | de: "Liste mit 22 festen Frequenzen"
inline constexpr TextId kShowChannelEmpty = 19101025;     // en: "not in use" | de: "nicht belegt"
inline constexpr TextId kShowFrequencyStep = 19101026;    // en: "%s MHz (step %s kHz)" | de: "%s MHz (Raster %s kHz)"
inline constexpr TextId kShowCustomLink = 19101027;       // en: "%s (from %s)" | de: "%s (aus %s)"
inline constexpr TextId kShowUnknownValue = 19101028;     // en: "unknown value %s" | de: "unbekannter Wert %s"
inline constexpr TextId kShowNoFrequency = 19101029;      // en: "none" | de: "keine"
inline constexpr TextId kShowKeyFixed = 19101030;         // en: "fixed" | de: "fest"

// The radio link: texts new to this program
inline constexpr TextId kLinkNoCable = 19103001;         // en: "No programming cable was found. Connect the cable to a USB port and try again." | de: "Es wurde kein Programmierkabel gefunden. Schließen Sie das Kabel an einen USB-Anschluss an und versuchen Sie es erneut."
inline constexpr TextId kLinkNoPermission = 19103002;    // en: "The programming cable was found, but you are not allowed to use it." | de: "Das Programmierkabel wurde gefunden, aber Sie dürfen es nicht verwenden."
inline constexpr TextId kLinkBusy = 19103003;            // en: "The programming cable is in use by another program." | de: "Das Programmierkabel wird von einem anderen Programm verwendet."
inline constexpr TextId kLinkUnusableCable = 19103004;   // en: "The USB device that was found is not a usable programming cable." | de: "Das gefundene USB-Gerät ist kein verwendbares Programmierkabel."
inline constexpr TextId kLinkUsbError = 19103005;        // en: "The USB system could not reach the programming cable." | de: "Das USB-System konnte das Programmierkabel nicht erreichen."
inline constexpr TextId kLinkDisconnected = 19103006;    // en: "The programming cable was disconnected during the transfer." | de: "Das Programmierkabel wurde während der Übertragung getrennt."
inline constexpr TextId kLinkLibraryMissing = 19103007;  // en: "The USB transport library libpipelink.so could not be loaded." | de: "Die USB-Transportbibliothek libpipelink.so konnte nicht geladen werden."
inline constexpr TextId kSimCreated = 19103101;          // en: "Created the simulated radio %s." | de: "Das simulierte Funkgerät %s wurde angelegt."
inline constexpr TextId kSimExists = 19103102;           // en: "%s already exists; give --force to replace it." | de: "%s ist bereits vorhanden; mit --force wird es ersetzt."
inline constexpr TextId kSimCannotUse = 19103103;        // en: "The simulated radio %s cannot be used: %s" | de: "Das simulierte Funkgerät %s kann nicht verwendet werden: %s"
inline constexpr TextId kSimNotSaved = 19103104;         // en: "The simulated radio %s could not be saved: %s" | de: "Das simulierte Funkgerät %s konnte nicht gespeichert werden: %s"
inline constexpr TextId kSimBadValue = 19103105;         // en: "%s: the value %s is not valid." | de: "%s: Der Wert %s ist ungültig."
inline constexpr TextId kSimUpdated = 19103106;          // en: "Updated the simulated radio %s." | de: "Das simulierte Funkgerät %s wurde geändert."
inline constexpr TextId kSimNothingToSet = 19103107;     // en: "Name at least one setting to change (see vrm650t-cli --help)." | de: "Geben Sie mindestens eine zu ändernde Einstellung an (siehe vrm650t-cli --help)."
inline constexpr TextId kSimMemoryUnreadable = 19103108; // en: "%s could not be read as a data file or as a 1024-byte memory image." | de: "%s konnte weder als Datendatei noch als 1024 Byte großes Speicherabbild gelesen werden."

// Application shell: texts new to this program
inline constexpr TextId kButtonYes = 19104001;            // en: "&Yes" | de: "&Ja"
inline constexpr TextId kButtonNo = 19104002;             // en: "&No" | de: "&Nein"
inline constexpr TextId kStatusReady = 19104003;          // en: "Ready" | de: "Bereit"
inline constexpr TextId kModelSignalingType = 19104004;   // en: "Signaling Type" | de: "Signalisierungsart"
inline constexpr TextId kModelEnhancedFeature = 19104005; // en: "Enhanced Feature" | de: "Erweiterte Funktion"
inline constexpr TextId kModelStationary = 19104006;      // en: "Stationary" | de: "Feststation"
inline constexpr TextId kModelMotion = 19104007;          // en: "Motion" | de: "Mobil"
inline constexpr TextId kHelpWindowTitle = 19104008;      // en: "VRM-650T Help" | de: "VRM-650T Hilfe"
inline constexpr TextId kHelpBack = 19104009;             // en: "Back" | de: "Zurück"
inline constexpr TextId kHelpForward = 19104010;          // en: "Forward" | de: "Vorwärts"
inline constexpr TextId kHelpContents = 19104011;         // en: "Contents" | de: "Inhalt"
inline constexpr TextId kPasswordLabel = 19104012;        // en: "Password:" | de: "Kennwort:"
inline constexpr TextId kOpenPreviewLine1 = 19104013;     // en: "Line 1:" | de: "Zeile 1:"
inline constexpr TextId kOpenPreviewLine2 = 19104014;     // en: "Line 2:" | de: "Zeile 2:"
inline constexpr TextId kMsgFileNotWritten = 19104015;    // en: "The data file %s could not be written." | de: "Die Datendatei %s konnte nicht geschrieben werden."
inline constexpr TextId kStatusSaved = 19122001;          // en: "Saved %s" | de: "Gespeichert: %s"

// Read and write transfers, radio information, the radio commands of vrm650t-cli: texts new to this program
inline constexpr TextId kTransferPartialWrite = 19106001;  // en: "The radio may now hold a partly written configuration. Write the data into the radio again before you use it." | de: "Das Funkgerät enthält jetzt möglicherweise eine nur teilweise geschriebene Konfiguration. Schreiben Sie die Daten erneut in das Funkgerät, bevor Sie es verwenden."
inline constexpr TextId kCliRadioReadInto = 19106101;      // en: "Read the radio and saved its data in %s." | de: "Das Funkgerät wurde gelesen und seine Daten in %s gespeichert."
inline constexpr TextId kCliRadioReadNotSaved = 19106102;  // en: "The radio was read, but %s could not be written: %s" | de: "Das Funkgerät wurde gelesen, aber %s konnte nicht geschrieben werden: %s"
inline constexpr TextId kCliRadiosWritten = 19106103;      // en: "Radios written: %d" | de: "Geschriebene Funkgeräte: %d"
inline constexpr TextId kCliNextRadio = 19106104;          // en: "Connect the next radio and press Enter to write it; q or the end of the input finishes: " | de: "Schließen Sie das nächste Funkgerät an und drücken Sie die Eingabetaste, um es zu schreiben; q oder das Ende der Eingabe beendet: "
inline constexpr TextId kMsgWriteModels = 19123002;        // en: "The data is for %s; the radio on the cable is %s." | de: "Die Daten sind für %s; das Funkgerät am Kabel ist %s."
inline constexpr TextId kUnknownModelNamed = 19123006;     // en: "%s (not a model of this program)" | de: "%s (kein Modell dieses Programms)"

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

// Files that are not plain files, owners, interrupted transfers.
inline constexpr TextId kLinkInterrupted = 19111001;       // en: "The transfer was stopped before it was complete." | de: "Die Übertragung wurde vor ihrem Ende angehalten."
inline constexpr TextId kMsgNotRegularFile = 19111002;     // en: "%s is not a regular file (it is a device, a pipe or a socket); it was neither read nor replaced." | de: "%s ist keine gewöhnliche Datei (sondern ein Gerät, eine Pipe oder ein Socket); sie wurde weder gelesen noch ersetzt."
inline constexpr TextId kMsgOwnerNotKept = 19111003;       // en: "%s was saved, but it now belongs to you instead of its previous owner: only the administrator can keep another user's ownership." | de: "%s wurde gespeichert, gehört jetzt aber Ihnen statt dem bisherigen Besitzer: Nur der Administrator kann den Besitz eines anderen Benutzers erhalten."
inline constexpr TextId kCliInterrupted = 19111004;        // en: "Stopped by the signal %s." | de: "Durch das Signal %s angehalten."
// The cable doctor and the fix lines of the link's messages.
inline constexpr TextId kLinkDoctorHint = 19110001;  // en: "Run `vrm650t-cli doctor` for details." | de: "Führen Sie `vrm650t-cli doctor` aus, um Einzelheiten zu erfahren."
inline constexpr TextId kFixLine = 19110002;  // en: "Fix: %s" | de: "Abhilfe: %s"
inline constexpr TextId kFixInstallRule = 19110003;  // en: "install the cable's udev rule: %s" | de: "Installieren Sie die udev-Regel des Kabels: %s"
inline constexpr TextId kFixReplug = 19110004;  // en: "unplug the cable and plug it in again." | de: "Ziehen Sie das Kabel ab und stecken Sie es wieder ein."
inline constexpr TextId kFixGroup = 19110005;  // en: "give the plugdev group access to the cable: %s; then log out, log in again and plug the cable in again." | de: "Geben Sie der Gruppe plugdev Zugriff auf das Kabel: %s; melden Sie sich dann ab und wieder an und stecken Sie das Kabel neu ein."
inline constexpr TextId kFixUnexplained = 19110006;  // en: "unplug the cable and plug it in again; if that does not help, give the plugdev group access: %s" | de: "Ziehen Sie das Kabel ab und stecken Sie es wieder ein; hilft das nicht, geben Sie der Gruppe plugdev Zugriff: %s"
inline constexpr TextId kFixCloseNamed = 19110007;  // en: "close %s, then try again." | de: "Beenden Sie %s und versuchen Sie es dann erneut."
inline constexpr TextId kFixCloseOther = 19110008;  // en: "close the other program that uses the cable, then try again." | de: "Beenden Sie das andere Programm, das das Kabel verwendet, und versuchen Sie es dann erneut."
inline constexpr TextId kFixConnect = 19110009;  // en: "connect the programming cable to a USB port." | de: "Schließen Sie das Programmierkabel an einen USB-Anschluss an."
inline constexpr TextId kFixNotACable = 19110010;  // en: "use the VRM-650T programming cable, or name its IDs with PIPELINK_DEVICE=vvvv:pppp." | de: "Verwenden Sie das VRM-650T-Programmierkabel, oder nennen Sie seine IDs mit PIPELINK_DEVICE=vvvv:pppp."
inline constexpr TextId kFixUsbError = 19110011;  // en: "unplug the cable and plug it in again, into another USB port if it fails again." | de: "Ziehen Sie das Kabel ab und stecken Sie es wieder ein, bei erneutem Fehler in einen anderen USB-Anschluss."
inline constexpr TextId kDoctorLooking = 19110101;  // en: "Looking for programming cables with the USB IDs %s." | de: "Suche nach Programmierkabeln mit den USB-IDs %s."
inline constexpr TextId kDoctorDevice = 19110102;  // en: "Bus %s, device %s: %s, serial number %s" | de: "Bus %s, Gerät %s: %s, Seriennummer %s"
inline constexpr TextId kDoctorSerialUnknown = 19110103;  // en: "unknown" | de: "unbekannt"
inline constexpr TextId kDoctorUsable = 19110104;  // en: "It can be opened: this cable can be used." | de: "Es lässt sich öffnen: Dieses Kabel kann verwendet werden."
inline constexpr TextId kDoctorRuleMissing = 19110105;  // en: "You may not open it: no udev rule for the cable is installed." | de: "Sie dürfen es nicht öffnen: Es ist keine udev-Regel für das Kabel installiert."
inline constexpr TextId kDoctorReplug = 19110106;  // en: "You may not open it: the udev rule (%s) is installed, but the cable was plugged in before the rule was." | de: "Sie dürfen es nicht öffnen: Die udev-Regel (%s) ist installiert, aber das Kabel wurde vor der Regel eingesteckt."
inline constexpr TextId kDoctorNoSeat = 19110107;  // en: "You may not open it: this login is not a local desktop session (a remote login, or no seat), so the udev rule's uaccess tag gives you no access." | de: "Sie dürfen es nicht öffnen: Diese Anmeldung ist keine lokale Desktop-Sitzung (eine entfernte Anmeldung oder kein Arbeitsplatz), daher gibt Ihnen die uaccess-Markierung der udev-Regel keinen Zugriff."
inline constexpr TextId kDoctorNoAccess = 19110108;  // en: "You may not open it, although the udev rule (%s) is installed and this is a local desktop session." | de: "Sie dürfen es nicht öffnen, obwohl die udev-Regel (%s) installiert ist und dies eine lokale Desktop-Sitzung ist."
inline constexpr TextId kDoctorBusy = 19110109;  // en: "Another program holds it: %s." | de: "Ein anderes Programm belegt es: %s."
inline constexpr TextId kDoctorBusyUnknown = 19110110;  // en: "Another program holds it; which one cannot be told (it may run as another user)." | de: "Ein anderes Programm belegt es; welches, lässt sich nicht feststellen (es läuft vielleicht unter einem anderen Benutzer)."
inline constexpr TextId kDoctorNotACable = 19110111;  // en: "It has no interface with a bulk IN and a bulk OUT endpoint, so it is not a usable programming cable." | de: "Es hat keine Schnittstelle mit einem Bulk-IN- und einem Bulk-OUT-Endpunkt und ist daher kein verwendbares Programmierkabel."
inline constexpr TextId kDoctorUsbError = 19110112;  // en: "The USB system could not open it." | de: "Das USB-System konnte es nicht öffnen."
inline constexpr TextId kDoctorNoCable = 19110113;  // en: "No programming cable is plugged in." | de: "Es ist kein Programmierkabel eingesteckt."
inline constexpr TextId kDoctorNoUsb = 19110114;  // en: "USB cannot be used on this machine: no USB bus is visible." | de: "USB kann auf diesem Rechner nicht verwendet werden: Es ist kein USB-Bus sichtbar."
inline constexpr TextId kDoctorNoProbe = 19110115;  // en: "The transport library %s cannot list cables; the simulated radio's library may be first on LD_LIBRARY_PATH." | de: "Die Transportbibliothek %s kann keine Kabel auflisten; vielleicht steht die Bibliothek des simulierten Funkgeräts zuerst in LD_LIBRARY_PATH."
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

// Printing.
inline constexpr TextId kPrintListTitle = 19112001;          // en: "Print Out List" | de: "Druckliste"
inline constexpr TextId kPrintListPrompt = 19112002;         // en: "Lists to print:" | de: "Zu druckende Listen:"
inline constexpr TextId kPrintPageNumbers = 19112004;        // en: "Page %d of %d" | de: "Seite %d von %d"
inline constexpr TextId kPrintModel = 19112005;              // en: "Model" | de: "Modell"
inline constexpr TextId kPrintDataFile = 19112006;           // en: "Data file" | de: "Datendatei"
inline constexpr TextId kPrintPrinted = 19112007;            // en: "Printed" | de: "Gedruckt"
inline constexpr TextId kPrintBandPointsList = 19112009;     // en: "Band points (tuning frequencies)" | de: "Bandpunkte (Abgleichfrequenzen)"
inline constexpr TextId kPrintSetting = 19112010;            // en: "Setting" | de: "Einstellung"
inline constexpr TextId kPrintValue = 19112011;              // en: "Value" | de: "Wert"
inline constexpr TextId kPrintSelectAll = 19112012;          // en: "&All" | de: "&Alle"
inline constexpr TextId kPrintSelectNone = 19112013;         // en: "&None" | de: "&Keine"
inline constexpr TextId kPrintFailed = 19112014;           // en: "The print-out could not be made: the printer did not take it." | de: "Der Ausdruck konnte nicht erstellt werden: Der Drucker hat ihn nicht angenommen."
inline constexpr TextId kPrintLanguageCode = 19112015;      // en: "en" | de: "de"
inline constexpr TextId kCliPrintUnknownList = 19112101;     // en: "%s is not a list to print; the lists: %s" | de: "%s ist keine druckbare Liste; die Listen: %s"
inline constexpr TextId kCliPrintListAbsent = 19112102;      // en: "This model has no list %s." | de: "Dieses Modell hat keine Liste %s."
inline constexpr TextId kCliPrintFormat = 19112103;          // en: "Give the format as pdf, html or txt (or name the output file with one of these endings), not %s." | de: "Geben Sie das Format als pdf, html oder txt an (oder geben Sie der Ausgabedatei eine dieser Endungen), nicht %s."
inline constexpr TextId kCliPrintNoPdf = 19112104;           // en: "This build of vrm650t-cli writes no PDF (it was built without Qt); write html or txt." | de: "Dieser Build von vrm650t-cli schreibt kein PDF (er wurde ohne Qt gebaut); schreiben Sie html oder txt."
inline constexpr TextId kCliPrintPage = 19112105;            // en: "Give the page size as a4 or letter, not %s." | de: "Geben Sie das Papierformat als a4 oder letter an, nicht %s."
inline constexpr TextId kCliPrintOutput = 19112106;          // en: "Name the output file with -o OUT.pdf, OUT.html or OUT.txt." | de: "Geben Sie die Ausgabedatei mit -o AUSGABE.pdf, AUSGABE.html oder AUSGABE.txt an."
inline constexpr TextId kPrintKeyHeading = 19124001;        // en: "Key" | de: "Taste"
inline constexpr TextId kPrintDecimalSeparator = 19124002;  // en: "." | de: ","
inline constexpr TextId kPrintDateFormat = 19124003;        // en: "%Y-%m-%d %H:%M" | de: "%d.%m.%Y %H:%M"
// Programming radios safely: backup, verify, log, compare, security settings, recovery
inline constexpr TextId kSafeWriteBackingUp = 19109001;   // en: "Reading the radio's data for the backup..." | de: "Daten des Funkgeräts für die Sicherung lesen..."
inline constexpr TextId kSafeWriteVerifying = 19109002;   // en: "Checking the written data..." | de: "Geschriebene Daten prüfen..."
inline constexpr TextId kSafeWriteVerified = 19109003;    // en: "Every written block was read back and matches: the radio holds the data." | de: "Jeder geschriebene Block wurde zurückgelesen und stimmt überein: Das Funkgerät enthält die Daten."
inline constexpr TextId kSafeWriteNotVerified = 19109004; // en: "The written data was not read back (verification is off)." | de: "Die geschriebenen Daten wurden nicht zurückgelesen (die Prüfung ist ausgeschaltet)."
inline constexpr TextId kBackupKeptIn = 19109005;         // en: "The radio's previous data is kept in %s." | de: "Die bisherigen Daten des Funkgeräts sind in %s gesichert."
inline constexpr TextId kBackupNotRead = 19109006;        // en: "The radio's data could not be read for the backup, so nothing was written. The radio is unchanged." | de: "Die Daten des Funkgeräts konnten für die Sicherung nicht gelesen werden, deshalb wurde nichts geschrieben. Das Funkgerät ist unverändert."
inline constexpr TextId kBackupNotStored = 19109007;      // en: "The backup could not be stored in %s: %s. Nothing was written; the radio is unchanged." | de: "Die Sicherung konnte nicht in %s gespeichert werden: %s. Es wurde nichts geschrieben; das Funkgerät ist unverändert."
inline constexpr TextId kVerifyFailed = 19109008;         // en: "Verification failed: the radio does not hold the data. These blocks differ: %s. The radio holds a configuration that is not the file's; write the data again before you use it." | de: "Die Prüfung ist fehlgeschlagen: Das Funkgerät enthält die Daten nicht. Diese Blöcke weichen ab: %s. Das Funkgerät enthält eine Konfiguration, die nicht die der Datei ist; schreiben Sie die Daten erneut, bevor Sie es verwenden."
inline constexpr TextId kVerifyNotRead = 19109009;        // en: "The data was written, but it could not be read back to check it. It is not known whether the radio holds the data; write it again before you use the radio." | de: "Die Daten wurden geschrieben, konnten aber zur Prüfung nicht zurückgelesen werden. Ob das Funkgerät die Daten enthält, ist nicht bekannt; schreiben Sie sie erneut, bevor Sie das Funkgerät verwenden."
inline constexpr TextId kBlockFailedRefused = 19109010;   // en: "Block %d (address 0x%03X): the radio refused it." | de: "Block %d (Adresse 0x%03X): Das Funkgerät hat ihn abgelehnt."
inline constexpr TextId kBlockFailedNoAnswer = 19109011;  // en: "Block %d (address 0x%03X): no answer from the radio." | de: "Block %d (Adresse 0x%03X): keine Antwort vom Funkgerät."
inline constexpr TextId kBlockFailedUnplugged = 19109012; // en: "Block %d (address 0x%03X): the cable was unplugged." | de: "Block %d (Adresse 0x%03X): Das Kabel wurde abgezogen."
inline constexpr TextId kDocumentUnchanged = 19109013;    // en: "The document is unchanged." | de: "Das Dokument ist unverändert."
inline constexpr TextId kLogNotWritten = 19109014;        // en: "The programming log %s could not be written: %s" | de: "Das Programmierprotokoll %s konnte nicht geschrieben werden: %s"
inline constexpr TextId kNothingWritten = 19109015;       // en: "Nothing was written; the radio is unchanged." | de: "Es wurde nichts geschrieben; das Funkgerät ist unverändert."
inline constexpr TextId kContinuousCount = 19109016;      // en: "Radios written in this run: %d. Last serial number: %s" | de: "In diesem Durchgang geschriebene Funkgeräte: %d. Letzte Seriennummer: %s"
inline constexpr TextId kContinuousCountOnly = 19109017;  // en: "Radios written in this run: %d." | de: "In diesem Durchgang geschriebene Funkgeräte: %d."
inline constexpr TextId kProgOptionsTitle = 19109020;     // en: "Programming Options" | de: "Programmieroptionen"
inline constexpr TextId kProgOptionsMenu = 19109021;      // en: "&Programming Options..." | de: "&Programmieroptionen..."
inline constexpr TextId kProgOptionsBackup = 19109022;    // en: "Keep a backup of the radio's data before each write" | de: "Vor jedem Schreiben die Daten des Funkgeräts sichern"
inline constexpr TextId kProgOptionsFolder = 19109023;    // en: "Backup folder:" | de: "Sicherungsordner:"
inline constexpr TextId kProgOptionsBrowse = 19109024;    // en: "Browse..." | de: "Durchsuchen..."
inline constexpr TextId kProgOptionsVerify = 19109025;    // en: "Read the written data back and verify it" | de: "Geschriebene Daten zurücklesen und prüfen"
inline constexpr TextId kProgOptionsLog = 19109026;       // en: "Keep a programming log (programming-log.csv in the data folder)" | de: "Programmierprotokoll führen (programming-log.csv im Datenordner)"
inline constexpr TextId kSecurityTitle = 19109030;        // en: "Security Settings" | de: "Sicherheitseinstellungen"
inline constexpr TextId kSecurityMenu = 19109031;         // en: "&Security Settings..." | de: "Si&cherheitseinstellungen..."
inline constexpr TextId kSecurityPassword = 19109032;     // en: "Security password (1 to 6 digits):" | de: "Sicherheitskennwort (1 bis 6 Ziffern):"
inline constexpr TextId kSecurityDataFile = 19109033;     // en: "Protect saved data files with this password (Data File)" | de: "Gespeicherte Datendateien mit diesem Kennwort schützen (Datendatei)"
inline constexpr TextId kSecurityDigits = 19109034;       // en: "The security password must be 1 to 6 digits." | de: "Das Sicherheitskennwort muss aus 1 bis 6 Ziffern bestehen."
inline constexpr TextId kSecurityProgramExecution = 19109035;// en: "Program Execution switch (kept with the password)" | de: "Schalter Programmausführung (mit dem Kennwort gespeichert)"
inline constexpr TextId kCompareTitle = 19109040;         // en: "Compare with Radio" | de: "Mit Funkgerät vergleichen"
inline constexpr TextId kCompareMenu = 19109041;          // en: "&Compare with Radio..." | de: "Mit Funkgerät &vergleichen..."
inline constexpr TextId kCompareIdentical = 19109042;     // en: "The radio holds the same data as the document." | de: "Das Funkgerät enthält dieselben Daten wie das Dokument."
inline constexpr TextId kCompareDifferences = 19109043;   // en: "The radio differs from the document in %d places." | de: "Das Funkgerät weicht an %d Stellen vom Dokument ab."
inline constexpr TextId kCompareItem = 19109044;          // en: "Item" | de: "Element"
inline constexpr TextId kCompareDocument = 19109045;      // en: "Document" | de: "Dokument"
inline constexpr TextId kCompareRadio = 19109046;         // en: "Radio" | de: "Funkgerät"
inline constexpr TextId kCompareKey = 19109047;           // en: "Key" | de: "Schlüssel"
inline constexpr TextId kCompareOtherBytes = 19109048;    // en: "Memory bytes outside the editors' items" | de: "Speicherbytes außerhalb der Elemente der Editoren"
inline constexpr TextId kCompareReading = 19109049;       // en: "Reading the radio..." | de: "Funkgerät lesen..."
inline constexpr TextId kRecoveryQuestion = 19109050;     // en: "The program ended without saving the changes to %s. Restore the unsaved data?" | de: "Das Programm wurde beendet, ohne die Änderungen an %s zu speichern. Sollen die nicht gespeicherten Daten wiederhergestellt werden?"
inline constexpr TextId kRecoveryUntitled = 19109051;     // en: "a new document" | de: "einem neuen Dokument"
inline constexpr TextId kRecoveryCaption = 19109052;      // en: "Unsaved Data" | de: "Nicht gespeicherte Daten"
inline constexpr TextId kCliBackupStored = 19109060;      // en: "Backup of the radio's previous data: %s" | de: "Sicherung der bisherigen Daten des Funkgeräts: %s"
inline constexpr TextId kCliCompareIdentical = 19109061;  // en: "identical" | de: "identisch"
inline constexpr TextId kCliDirMissing = 19109062;        // en: "%s needs a folder." | de: "%s braucht einen Ordner."
inline constexpr TextId kCliWriteVerified = 19109063;     // en: "Written and verified." | de: "Geschrieben und geprüft."
inline constexpr TextId kCliWriteNotVerified = 19109064;  // en: "Written (not verified)." | de: "Geschrieben (nicht geprüft)."

}  // namespace vrm::tid

// The command line's conventions, text export and import, channel CSV and
// the comparison of two files.
#include "core/base/text_ids_exchange.h"
// Interrupted programming, unfinished writes and protected recovery copies.
#include "core/base/text_ids_safety.h"
