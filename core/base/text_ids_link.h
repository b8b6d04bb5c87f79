// The text IDs of the radio link: read and write transfers, the memory map,
// radio information, the cable's messages and the cable doctor, the
// simulated radio and the radio commands of vrm650t-cli.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

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

// Read and write transfers, radio information, the radio commands of vrm650t-cli: texts new to this program
inline constexpr TextId kTransferPartialWrite = 19106001;  // en: "The radio may now hold a partly written configuration. Write the data into the radio again before you use it." | de: "Das Funkgerät enthält jetzt möglicherweise eine nur teilweise geschriebene Konfiguration. Schreiben Sie die Daten erneut in das Funkgerät, bevor Sie es verwenden."
inline constexpr TextId kCliRadioReadInto = 19106101;      // en: "Read the radio and saved its data in %s." | de: "Das Funkgerät wurde gelesen und seine Daten in %s gespeichert."
inline constexpr TextId kCliRadioReadNotSaved = 19106102;  // en: "The radio was read, but %s could not be written: %s" | de: "Das Funkgerät wurde gelesen, aber %s konnte nicht geschrieben werden: %s"
inline constexpr TextId kCliRadiosWritten = 19106103;      // en: "Radios written: %d" | de: "Geschriebene Funkgeräte: %d"
inline constexpr TextId kCliNextRadio = 19106104;          // en: "Connect the next radio and press Enter to write it; q or the end of the input finishes: " | de: "Schließen Sie das nächste Funkgerät an und drücken Sie die Eingabetaste, um es zu schreiben; q oder das Ende der Eingabe beendet: "
inline constexpr TextId kMsgWriteModels = 19123002;        // en: "The data is for %s; the radio on the cable is %s." | de: "Die Daten sind für %s; das Funkgerät am Kabel ist %s."
inline constexpr TextId kUnknownModelNamed = 19123006;     // en: "%s (not a model of this program)" | de: "%s (kein Modell dieses Programms)"

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

}  // namespace vrm::tid
