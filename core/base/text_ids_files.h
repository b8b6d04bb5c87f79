// The text IDs of data files, the password prompt and the data-file commands
// of vrm650t-cli, files that are not plain files, stopped transfers.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

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

// Files that are not plain files, owners, interrupted transfers.
inline constexpr TextId kLinkInterrupted = 19111001;       // en: "The transfer was stopped before it was complete." | de: "Die Übertragung wurde vor ihrem Ende angehalten."
inline constexpr TextId kMsgNotRegularFile = 19111002;     // en: "%s is not a regular file (it is a device, a pipe or a socket); it was neither read nor replaced." | de: "%s ist keine gewöhnliche Datei (sondern ein Gerät, eine Pipe oder ein Socket); sie wurde weder gelesen noch ersetzt."
inline constexpr TextId kMsgOwnerNotKept = 19111003;       // en: "%s was saved, but it now belongs to you instead of its previous owner: only the administrator can keep another user's ownership." | de: "%s wurde gespeichert, gehört jetzt aber Ihnen statt dem bisherigen Besitzer: Nur der Administrator kann den Besitz eines anderen Benutzers erhalten."
inline constexpr TextId kCliInterrupted = 19111004;        // en: "Stopped by the signal %s." | de: "Durch das Signal %s angehalten."

}  // namespace vrm::tid
