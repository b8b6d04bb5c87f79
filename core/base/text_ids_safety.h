// The text IDs of interrupted programming: a stopped transfer, a write that
// did not finish, protected recovery copies and the data-file password.
// Included by text/text_ids.h; add new names of these jobs here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

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
