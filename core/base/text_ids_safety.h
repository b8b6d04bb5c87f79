// The text IDs of programming radios safely: the backup, the verify, the
// programming log, compare with radio, the security settings and recovery
// copies; interrupted programming: a stopped transfer, a write that did not
// finish, protected recovery copies and the data-file password.
// Included by core/base/text_ids.h; add new names of these jobs here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

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

// A stopped transfer and a write that did not finish.
inline constexpr TextId kStopBlocksWritten = 19120001;       // en: "%d of %d blocks were written before the stop." | de: "%d von %d Blöcken wurden vor dem Anhalten geschrieben."
inline constexpr TextId kUnfinishedWrite = 19120002;         // en: "The write of %s to radio %s at %s did not finish; the radio may hold a partly written configuration. Its backup is %s." | de: "Das Schreiben von %s in das Funkgerät %s am %s wurde nicht beendet; das Funkgerät enthält möglicherweise eine nur teilweise geschriebene Konfiguration. Seine Sicherung ist %s."
inline constexpr TextId kUnfinishedWriteNoBackup = 19120003; // en: "The write of %s to radio %s at %s did not finish; the radio may hold a partly written configuration. No backup of its previous data was kept." | de: "Das Schreiben von %s in das Funkgerät %s am %s wurde nicht beendet; das Funkgerät enthält möglicherweise eine nur teilweise geschriebene Konfiguration. Von seinen bisherigen Daten wurde keine Sicherung angelegt."
inline constexpr TextId kUnfinishedCaption = 19120004;       // en: "Unfinished Write" | de: "Nicht beendetes Schreiben"
inline constexpr TextId kUnfinishedOpenBackup = 19120005;    // en: "Open &Backup" | de: "&Sicherung öffnen"
inline constexpr TextId kUnfinishedOpenFile = 19120006;      // en: "Open &File" | de: "&Datei öffnen"

// Protected data: the recovery copy, the password, the Open preview.
inline constexpr TextId kRecoveryKeptProtected = 19120007;   // en: "The unsaved data was not restored because its password was not given. It is kept in %s: open it with File > Open and its password." | de: "Die nicht gespeicherten Daten wurden nicht wiederhergestellt, weil ihr Kennwort nicht eingegeben wurde. Sie sind in %s aufbewahrt: Öffnen Sie sie mit Datei > Öffnen und ihrem Kennwort."
inline constexpr TextId kSecurityNotEncryption = 19120008;   // en: "The password keeps a data file from being opened by mistake in this program. It is not encryption: other tools can read the file's data without it. To keep files secret, use file permissions or an encrypted folder." | de: "Das Kennwort verhindert, dass eine Datendatei in diesem Programm versehentlich geöffnet wird. Es ist keine Verschlüsselung: Andere Werkzeuge können die Daten der Datei ohne es lesen. Um Dateien geheim zu halten, verwenden Sie Dateiberechtigungen oder einen verschlüsselten Ordner."
inline constexpr TextId kPreviewProtected = 19120009;        // en: "Protected with a data-file password" | de: "Mit einem Datendatei-Kennwort geschützt"

}  // namespace vrm::tid
