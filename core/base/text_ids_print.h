// The text IDs of printing and of vrm650t-cli's print command.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

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

}  // namespace vrm::tid
