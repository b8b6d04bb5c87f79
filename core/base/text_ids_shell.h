// The text IDs of the main frame and its dialogs, the common buttons, the
// message boxes, the code lists and the grid's context menu.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

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

}  // namespace vrm::tid
