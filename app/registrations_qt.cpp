// Where the editor views and the transfer dialogs join the main frame. Each
// later piece adds its registration here, for example
//   frame.RegisterEditorView("CKeyView", [](CMainFrame& f, QWidget* parent) {
//       return new CKeyView(f, parent); });
//   frame.RegisterCommand(cmd::kReadData, [&frame] { ... });
// Until a view or a command is registered, its command stays greyed out.
#include "app/main_frame.h"
#include "app/vrm_app.h"
#include "link/memory_map_dialog.h"
#include "link/radio_info_dialog.h"
#include "link/read_dialog.h"
#include "link/write_dialog.h"

namespace vrm {

void RegisterViewsAndDialogs(CMainFrame& frame) {
    RegisterReadCommand(frame);
    RegisterWriteCommand(frame);
    RegisterMemoryMapCommand(frame);
    RegisterRadioInformationCommand(frame);
}

}  // namespace vrm
