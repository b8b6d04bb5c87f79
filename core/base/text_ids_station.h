// The text IDs of the programming station: several radios at once, each on
// its own cable, the plan of per-radio files and values, the cable choice.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

// The plan
inline constexpr TextId kPlanCannotRead = 19170001;       // en: "The plan %s cannot be read: %s" | de: "Der Plan %s kann nicht gelesen werden: %s"
inline constexpr TextId kPlanNoSerialColumn = 19170002;   // en: "The plan's first column must be serial." | de: "Die erste Spalte des Plans muss serial sein."
inline constexpr TextId kPlanFieldCount = 19170003;       // en: "Line %s of the plan has %s fields; its header has %s." | de: "Zeile %s des Plans hat %s Felder; ihre Kopfzeile hat %s."
inline constexpr TextId kPlanSerialEmpty = 19170004;      // en: "Line %s of the plan has no serial number." | de: "Zeile %s des Plans hat keine Seriennummer."
inline constexpr TextId kPlanSerialTwice = 19170005;      // en: "Line %s of the plan names the serial number %s a second time." | de: "Zeile %s des Plans nennt die Seriennummer %s ein zweites Mal."
inline constexpr TextId kPlanFileRefused = 19170006;      // en: "Line %s of the plan: the data file %s cannot be used." | de: "Zeile %s des Plans: Die Datendatei %s kann nicht verwendet werden."
inline constexpr TextId kPlanValueRefused = 19170007;     // en: "Line %s of the plan, %s: %s" | de: "Zeile %s des Plans, %s: %s"
inline constexpr TextId kPlanHasErrors = 19170008;        // en: "Nothing was written: the plan has errors." | de: "Es wurde nichts geschrieben: Der Plan enthält Fehler."
inline constexpr TextId kPlanNotInPlan = 19170009;        // en: "refused: serial number %s is not in the plan" | de: "abgelehnt: Seriennummer %s steht nicht im Plan"
inline constexpr TextId kPlanEmptyColumn = 19170010;      // en: "Column %s of the plan's header is empty." | de: "Spalte %s der Kopfzeile des Plans ist leer."

// The station's phases and results
inline constexpr TextId kStationWaiting = 19170101;       // en: "waiting" | de: "wartet"
inline constexpr TextId kStationIdentifying = 19170102;   // en: "identifying" | de: "erkennt"
inline constexpr TextId kStationBackup = 19170103;        // en: "backup" | de: "Sicherung"
inline constexpr TextId kStationWriting = 19170104;       // en: "writing" | de: "schreibt"
inline constexpr TextId kStationVerifying = 19170105;     // en: "verifying" | de: "prüft"
inline constexpr TextId kStationDone = 19170106;          // en: "done" | de: "fertig"
inline constexpr TextId kStationFailed = 19170107;        // en: "failed" | de: "fehlgeschlagen"
inline constexpr TextId kStationStopped = 19170108;       // en: "stopped" | de: "angehalten"
inline constexpr TextId kStationNextRadio = 19170109;     // en: "waiting for the next radio" | de: "wartet auf das nächste Funkgerät"
inline constexpr TextId kStationNoRadio = 19170110;       // en: "no radio answered" | de: "kein Funkgerät hat geantwortet"

// vrm650t-cli radio list and station write
inline constexpr TextId kCliNoCables = 19170201;          // en: "No programming cable was found." | de: "Es wurde kein Programmierkabel gefunden."
inline constexpr TextId kCliUnknownCable = 19170202;      // en: "There is no cable %s; vrm650t-cli radio list shows the cables." | de: "Es gibt kein Kabel %s; vrm650t-cli radio list zeigt die Kabel."
inline constexpr TextId kCliCablesNotListed = 19170203;   // en: "The transport library %s cannot list cables." | de: "Die Transportbibliothek %s kann keine Kabel auflisten."
inline constexpr TextId kCliStationHeading = 19170204;    // en: "CABLE\tSERIAL\tMODEL\tRESULT\tWRITTEN\tFAILED" | de: "KABEL\tSERIENNUMMER\tMODELL\tERGEBNIS\tGESCHRIEBEN\tFEHLGESCHLAGEN"
inline constexpr TextId kCliStationTotal = 19170205;      // en: "%d radios written, %d failed." | de: "%d Funkgeräte geschrieben, %d fehlgeschlagen."
inline constexpr TextId kCliListHeading = 19170207;       // en: "CABLE\tSERIAL\tBUS\tDEVICE" | de: "KABEL\tSERIENNUMMER\tBUS\tGERÄT"
inline constexpr TextId kCliListIdentifyHeading = 19170208;  // en: "CABLE\tSERIAL\tBUS\tDEVICE\tMODEL\tRADIO SERIAL" | de: "KABEL\tSERIENNUMMER\tBUS\tGERÄT\tMODELL\tFUNKGERÄT-SERIENNUMMER"

// The desktop program: the cable choice and the station window
inline constexpr TextId kSetupCable = 19170301;           // en: "Programming cable" | de: "Programmierkabel"
inline constexpr TextId kSetupCableFirst = 19170302;      // en: "First found" | de: "Das erste gefundene"
inline constexpr TextId kStationMenu = 19170303;          // en: "Programming &Station..." | de: "&Programmierstation..."
inline constexpr TextId kStationTitle = 19170304;         // en: "Programming Station" | de: "Programmierstation"
inline constexpr TextId kStationColCable = 19170305;      // en: "Cable" | de: "Kabel"
inline constexpr TextId kStationColModel = 19170306;      // en: "Model" | de: "Modell"
inline constexpr TextId kStationColSerial = 19170307;     // en: "Serial Number" | de: "Seriennummer"
inline constexpr TextId kStationColPhase = 19170308;      // en: "Phase" | de: "Schritt"
inline constexpr TextId kStationColProgress = 19170309;   // en: "Progress" | de: "Fortschritt"
inline constexpr TextId kStationColResult = 19170310;     // en: "Result" | de: "Ergebnis"
inline constexpr TextId kStationColCount = 19170311;      // en: "Written / Failed" | de: "Geschrieben / Fehler"
inline constexpr TextId kStationPlan = 19170312;          // en: "&Plan file:" | de: "&Plandatei:"
inline constexpr TextId kStationBrowse = 19170313;        // en: "&Browse..." | de: "&Durchsuchen..."
inline constexpr TextId kStationContinuous = 19170314;    // en: "C&ontinuous" | de: "F&ortlaufend"
inline constexpr TextId kStationStart = 19170315;         // en: "&Start" | de: "&Starten"
inline constexpr TextId kStationStop = 19170316;          // en: "S&top" | de: "&Anhalten"
inline constexpr TextId kStationClose = 19170317;         // en: "&Close" | de: "S&chließen"
inline constexpr TextId kStationPlanDefault = 19170318;   // en: "&Write the open data into radios not in the plan" | de: "Geöffnete Daten in Funkgeräte &schreiben, die nicht im Plan stehen"
inline constexpr TextId kStationNoCables = 19170319;      // en: "No programming cable is plugged in. Plug in the cables, then press Start." | de: "Es ist kein Programmierkabel angeschlossen. Schließen Sie die Kabel an und drücken Sie dann Starten."
inline constexpr TextId kStationTotal = 19170320;         // en: "%d radios written, %d failed." | de: "%d Funkgeräte geschrieben, %d fehlgeschlagen."

// A safe write's outcome in the user's language (the programming log keeps
// the English words).
inline constexpr TextId kResultVerified = 19170401;  // en: "written and verified" | de: "geschrieben und geprüft"
inline constexpr TextId kResultNotVerified = 19170402;  // en: "written, not verified" | de: "geschrieben, nicht geprüft"
inline constexpr TextId kResultStoppedBefore = 19170403;  // en: "%s before writing; nothing written" | de: "%s vor dem Schreiben; nichts geschrieben"
inline constexpr TextId kResultBackupReadFailed = 19170404;  // en: "backup read failed%s; nothing written" | de: "Lesen der Sicherung fehlgeschlagen%s; nichts geschrieben"
inline constexpr TextId kResultBackupNotStored = 19170405;  // en: "backup not stored: %s; nothing written" | de: "Sicherung nicht gespeichert: %s; nichts geschrieben"
inline constexpr TextId kResultStoppedWriting = 19170406;  // en: "%s%s: %d of %d blocks written; radio partly written" | de: "%s%s: %d von %d Blöcken geschrieben; Funkgerät teilweise beschrieben"
inline constexpr TextId kResultCancelled = 19170407;  // en: "cancelled; nothing written" | de: "abgebrochen; nichts geschrieben"
inline constexpr TextId kResultModelRefused = 19170408;  // en: "radio model refused; nothing written" | de: "Funkgerätemodell abgelehnt; nichts geschrieben"
inline constexpr TextId kResultWriteFailed = 19170409;  // en: "write failed%s; radio partly written" | de: "Schreiben fehlgeschlagen%s; Funkgerät teilweise beschrieben"
inline constexpr TextId kResultNotStarted = 19170410;  // en: "write not started; nothing written" | de: "Schreiben nicht begonnen; nichts geschrieben"
inline constexpr TextId kResultNoAnswer = 19170411;  // en: "no answer from the radio; nothing written" | de: "keine Antwort vom Funkgerät; nichts geschrieben"
inline constexpr TextId kResultStoppedReadBack = 19170412;  // en: "written; %s before the read-back finished; not verified" | de: "geschrieben; %s vor Ende des Zurücklesens; nicht geprüft"
inline constexpr TextId kResultReadBackFailed = 19170413;  // en: "written; read-back failed%s; not verified" | de: "geschrieben; Zurücklesen fehlgeschlagen%s; nicht geprüft"
inline constexpr TextId kResultVerifyFailed = 19170414;  // en: "verify failed: radio differs at blocks %s" | de: "Prüfung fehlgeschlagen: Funkgerät weicht in den Blöcken %s ab"
inline constexpr TextId kResultAtBlock = 19170415;  // en: "at block %d (0x%03X)" | de: "bei Block %d (0x%03X)"
inline constexpr TextId kResultUnplugged = 19170416;  // en: "cable unplugged" | de: "Kabel abgezogen"
inline constexpr TextId kResultRefused = 19170417;  // en: "refused" | de: "abgelehnt"
inline constexpr TextId kResultNoReply = 19170418;  // en: "no answer" | de: "keine Antwort"
inline constexpr TextId kResultStoppedByUser = 19170419;  // en: "stopped by the user" | de: "vom Benutzer angehalten"
inline constexpr TextId kResultStoppedBySignal = 19170420;  // en: "stopped (signal %s)" | de: "angehalten (Signal %s)"

// The simulated station: a radio taken off its cable and plugged in again.
inline constexpr TextId kSimUnplugged = 19200001;  // en: "The simulated radio %s is unplugged: its cable answers nothing until sim plug." | de: "Das simulierte Funkgerät %s ist abgezogen: Sein Kabel antwortet nicht, bis sim plug folgt."
inline constexpr TextId kSimPlugged = 19200002;  // en: "The simulated radio %s is plugged in." | de: "Das simulierte Funkgerät %s ist angeschlossen."
inline constexpr TextId kSimPlugFailed = 19200003;  // en: "The simulated radio %s could not be plugged in or unplugged: %s" | de: "Das simulierte Funkgerät %s konnte nicht angeschlossen oder abgezogen werden: %s"

}  // namespace vrm::tid
