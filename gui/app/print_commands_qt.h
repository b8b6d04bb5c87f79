// File > Print and File > Print Preview, and the print path of the dialogs
// that print (Radio Information): the "Print Out List" dialog with the lists
// remembered in the settings, the system print dialog, Qt's preview with the
// frame's print-preview flag set while it runs.
#pragma once

#include <string>

#include "core/exchange/print_document.h"

class QWidget;

namespace vrm {

class CMainFrame;
class LanguageTable;

// The settings value that keeps the lists last printed ("channels,scan").
inline constexpr const char* kSettingPrintLists = "PrintLists";

void RegisterPrintCommands(CMainFrame& frame);

// The date and time of printing, written as the program's language writes
// dates (paper follows the language, not the system's locale).
std::string PrintedAt(const LanguageTable& language);

// The preview of a dialog's print-out (Radio Information, Test Mode), with
// the frame's print-preview flag set while it runs.
void PreviewFromDialog(CMainFrame& frame, QWidget* dialog, const print::Document& doc);

}  // namespace vrm
