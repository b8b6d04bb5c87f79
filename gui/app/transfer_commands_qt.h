// The commands that open the transfer dialogs and the memory map, registered
// with the main frame. They hand each dialog the program's port, image,
// language and prompter, and do the frame's part around it: the offer to
// save first, adopting read data, help, refreshing the views.
#pragma once

namespace vrm {

class CMainFrame;

// Program > Read Data from Radio: unsaved changes are offered for saving
// first (the read replaces the data), then the dialog runs; after a
// successful read the frame adopts the data.
void RegisterReadCommand(CMainFrame& frame);

// Program > Write Data to Radio. "Adjust Time" and "Continuous" are kept for
// the program run; "Continuous" starts on when the program was started with
// the switch "continuous".
void RegisterWriteCommand(CMainFrame& frame);

// Program > Memory Map: the live image, compared with the saved image; all
// views are refreshed after the viewer closes.
void RegisterMemoryMapCommand(CMainFrame& frame);

// Tool > Radio Information (installs the F2 watch).
void RegisterRadioInformationCommand(CMainFrame& frame);
// Program > Compare with Radio, Setup > Programming Options and Setup >
// Security Settings.
void RegisterSafetyCommands(CMainFrame& frame);

// Program > Test Mode: the start-up checks, then the Test Mode dialog; the
// radio leaves tuning mode, its transmitter off, when the dialog closes.
void RegisterTestModeCommand(CMainFrame& frame);
// Program > Tuning Data; the radio's values are kept in "tuning-backups"
// under the data folder before a write or restore.
void RegisterTuningDataCommand(CMainFrame& frame);

}  // namespace vrm
